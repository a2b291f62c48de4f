// The ten exports of PRNVIEW32.dll over one engine, and the Windows side of that engine: the
// owner window, the progress window and the preview.
#include <windows.h>

#include "engine.h"
#include "engine_windows_win.h"
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

  private:
    HWND owner_ = nullptr;
    HWND progress_ = nullptr;
    bool cancelled_ = false;
};

WindowsHost host;
Engine engine(host);

// PRNVIEW32_PDF read through Windows, not the C runtime's copy taken when the DLL loaded.
std::string UnattendedPath(const char *output) {
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("PRNVIEW32_PDF", path, sizeof path);
    if (n > 0 && n < sizeof path)
        return path;
    return output ? output : "";
}

} // namespace

extern "C" {
int32_t PRNVIEW_CALL pvStartDoc(int32_t owner, const char *title, const char *output,
                                int32_t numberBase, int32_t paper, int32_t orientation,
                                int32_t source, int32_t) {
    std::string path = UnattendedPath(output);
    return engine.StartDocument(owner, title, path.c_str(), numberBase, paper, orientation, source);
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
    return engine.Line(doc,
                       LineItem{x1, y1, x2, y2, width, static_cast<uint32_t>(colour) & 0xFFFFFF});
}
int32_t PRNVIEW_CALL pvRect(int32_t doc, float x1, float y1, float x2, float y2, float width,
                            int32_t colour, int32_t fill) {
    return engine.Rect(
        doc,
        RectItem{x1, y1, x2, y2, width, static_cast<uint32_t>(colour) & 0xFFFFFF, RectFill::Framed},
        fill);
}
}
