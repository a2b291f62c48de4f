// The ten exports of PRNVIEW32.dll over one engine, and the Windows side of that engine: the
// owner window, the progress window and the preview.
#include <windows.h>

#include <new>

#include "engine.h"
#include "engine_message_win.h"
#include "engine_windows_win.h"
#include "pdf_writer.h"
#include "prnview.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

HINSTANCE EngineModule() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

namespace {

class WindowsHost : public EngineHost {
  public:
    uint32_t Ticks() override { return GetTickCount(); }

    bool OpenProgress(int32_t owner, const std::string &title) override {
        // The 32-bit handle widens with its sign, as Windows widens handles on x86_64.
        owner_ = owner ? reinterpret_cast<HWND>(static_cast<intptr_t>(owner)) : GetActiveWindow();
        cancelled_ = false;
        progress_ = OpenProgressWindow(owner_, title, &cancelled_);
        if (!progress_)
            return false;
        // Nothing may start a second report over the open one through the owner.
        if (owner_)
            EnableWindow(owner_, FALSE);
        return true;
    }
    void ShowProgress(int32_t percent) override { ShowProgressPercent(progress_, percent); }
    bool PumpMessages() override {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The host is quitting: stop the document and leave the quit to its loop.
                PostQuitMessage(static_cast<int>(msg.wParam));
                cancelled_ = true;
                break;
            }
            if (!IsDialogMessageA(progress_, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        return cancelled_;
    }
    void Preview(const Document &doc) override {
        DestroyWindow(progress_);
        progress_ = nullptr;
        RunPreview(owner_, doc);
        if (owner_) {
            EnableWindow(owner_, TRUE);
            SetActiveWindow(owner_);
            SetFocus(owner_);
        }
        owner_ = nullptr;
    }
    void ReportCutShort() override {
        EngineMessage(progress_ ? progress_ : owner_,
                      "There was not enough memory for the whole report. The preview shows the "
                      "pages made before memory ran out.");
    }

  private:
    HWND owner_ = nullptr;
    HWND progress_ = nullptr;
    bool cancelled_ = false;
};

WindowsHost host;
Engine engine(host);

// Where an unattended document goes, and whether a file was made for it here.
struct Output {
    std::string path;
    bool created = false;
};

// A folder: one that exists, or a value ending in a backslash.
bool NamesFolder(const std::string &value) {
    if (value.back() == '\\')
        return true;
    const DWORD attributes = GetFileAttributesA(value.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string StartStamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    wsprintfA(stamp, "%04u-%02u-%02u %02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
              now.wMinute, now.wSecond);
    return stamp;
}

// Each document filed in the folder keeps a file of its own: the first free name is taken by
// creating it, so a report started in the same second by another program gets the next one.
Output FileInFolder(std::string folder, const char *title) {
    if (folder.back() != '\\')
        folder += '\\';
    const std::string stamp = StartStamp();
    for (int copy = 1;; ++copy) {
        Output out{folder + FiledPdfName(title ? title : "", stamp, copy), false};
        HANDLE file = CreateFileA(out.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            out.created = true;
            return out;
        }
        // Any other failure is the folder's: the engine's own open reports it.
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return out;
    }
}

// PRNVIEW32_PDF read through Windows, not the C runtime's copy taken when the DLL loaded.
Output UnattendedOutput(const char *output, const char *title) {
    char value[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("PRNVIEW32_PDF", value, sizeof value);
    if (n == 0 || n >= sizeof value)
        return {output ? output : "", false};
    if (NamesFolder(value))
        return FileInFolder(value, title);
    return {value, false};
}

ShapeItem Shape(float x1, float y1, float x2, float y2, float width, int32_t colour) {
    return ShapeItem{x1, y1, x2, y2, width, static_cast<uint32_t>(colour) & 0xFFFFFF};
}

} // namespace

extern "C" {
int32_t PRNVIEW_CALL pvStartDoc(int32_t owner, const char *title, const char *output,
                                int32_t numberBase, int32_t paper, int32_t orientation,
                                int32_t source, int32_t) {
    Output out;
    try {
        out = UnattendedOutput(output, title);
    } catch (const std::bad_alloc &) {
        return PV_ERR_OUTPUT;
    }
    const int32_t doc = engine.StartDocument(owner, title, out.path.c_str(), numberBase, paper,
                                             orientation, source);
    if (doc < 1 && out.created)
        DeleteFileA(out.path.c_str());
    return doc;
}
int32_t PRNVIEW_CALL pvNewPage(int32_t doc, int32_t paper, int32_t orientation, int32_t source) {
    return engine.NewPage(doc, paper, orientation, source);
}
int32_t PRNVIEW_CALL pvEndDoc(int32_t doc, int32_t mode) {
    return engine.EndDocument(doc, mode);
}
int32_t PRNVIEW_CALL pvSetProgress(int32_t doc, int32_t percent) {
    return engine.SetProgress(doc, percent);
}
int32_t PRNVIEW_CALL pvCheckAbort(int32_t doc) {
    return engine.CheckAbort(doc);
}
int32_t PRNVIEW_CALL pvFont(int32_t doc, int32_t style, int32_t points, int32_t colour,
                            const char *face) {
    return engine.Font(doc, style, points, colour, face);
}
int32_t PRNVIEW_CALL pvText(int32_t doc, float x, float y, int32_t align, const char *text) {
    return engine.Text(doc, x, y, align, text, false);
}
int32_t PRNVIEW_CALL pvSpecialText(int32_t doc, float x, float y, int32_t align, const char *text) {
    return engine.Text(doc, x, y, align, text, true);
}
int32_t PRNVIEW_CALL pvLine(int32_t doc, float x1, float y1, float x2, float y2, float width,
                            int32_t colour) {
    return engine.Line(doc, Shape(x1, y1, x2, y2, width, colour));
}
int32_t PRNVIEW_CALL pvRect(int32_t doc, float x1, float y1, float x2, float y2, float width,
                            int32_t colour, int32_t fill) {
    return engine.Rect(doc, Shape(x1, y1, x2, y2, width, colour), fill);
}
}
