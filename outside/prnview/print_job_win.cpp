// Print... of the preview: the print dialog with its page range, the job on letter paper in
// portrait whatever the printer was set to, and the window that shows each page on its way with
// a Cancel that takes the job back from the spooler.
#include <windows.h>

#include <cderr.h>
#include <commdlg.h>
#include <winspool.h>

#include "engine_message_win.h"
#include "engine_windows_win.h"
#include "gdi_render_win.h"
#include "prnview_resources.h"

namespace {

constexpr const char *kNoPrinter =
    "No printer is installed. Add a printer in Windows to print this report, or save it as a "
    "PDF file.";

enum class JobEnd { Printed, Cancelled, Failed };

bool AnyPrinterInstalled() {
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed,
                  &count);
    return needed > 0;
}

// The job's progress window; the abort procedure reaches it through the one job that can run,
// as the preview, its only way in, is disabled meanwhile.
struct PrintingWindow {
    HWND window = nullptr;
    bool cancelled = false;
};
PrintingWindow *g_printing = nullptr;

INT_PTR CALLBACK PrintingProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    if ((msg == WM_COMMAND && LOWORD(wp) == IDCANCEL) || msg == WM_CLOSE) {
        if (g_printing) {
            g_printing->cancelled = true;
            EnableWindow(GetDlgItem(dlg, IDCANCEL), FALSE);
        }
        return TRUE;
    }
    return msg == WM_INITDIALOG;
}

// Lets the progress window (and the rest of the program's windows) work while the job is
// spooled; false once Cancel was pressed, which tells the spooler to drop the job.
BOOL CALLBACK KeepWindowsAlive(HDC, int) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The host is quitting: drop the job and leave the quit to its own loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            g_printing->cancelled = true;
            break;
        }
        if (!IsDialogMessageA(g_printing->window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return !g_printing->cancelled;
}

// The printer's own settings from the dialog, with the engine's only page: letter, portrait.
HDC LetterPortraitDC(const PRINTDLGA &pd) {
    auto *names = static_cast<DEVNAMES *>(GlobalLock(pd.hDevNames));
    auto *mode = static_cast<DEVMODEA *>(GlobalLock(pd.hDevMode));
    HDC dc = nullptr;
    if (names && mode) {
        mode->dmFields = (mode->dmFields & ~(DM_PAPERLENGTH | DM_PAPERWIDTH | DM_FORMNAME)) |
                         DM_PAPERSIZE | DM_ORIENTATION;
        mode->dmPaperSize = DMPAPER_LETTER;
        mode->dmOrientation = DMORIENT_PORTRAIT;
        const char *base = reinterpret_cast<const char *>(names);
        dc = CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
    }
    if (mode)
        GlobalUnlock(pd.hDevMode);
    if (names)
        GlobalUnlock(pd.hDevNames);
    return dc;
}

JobEnd SendPages(HDC dc, const Document &doc, PageSpan span, PrintingWindow &printing) {
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = doc.title.c_str();
    if (StartDocA(dc, &info) <= 0)
        return JobEnd::Failed;
    const int count = static_cast<int>(doc.pages.size());
    DeviceFrame frame = PrinterFrame(dc);
    for (int page = span.first; page <= span.last; ++page) {
        SetDlgItemTextA(printing.window, IDC_PRINTING_TEXT, PrintingLabel(page, count).c_str());
        bool sent = KeepWindowsAlive(dc, 0) && StartPage(dc) > 0;
        if (sent)
            sent = RenderPage(dc, doc, static_cast<size_t>(page), frame);
        if (!sent || EndPage(dc) <= 0 || printing.cancelled) {
            AbortDoc(dc);
            return printing.cancelled ? JobEnd::Cancelled : JobEnd::Failed;
        }
    }
    return EndDoc(dc) > 0 ? JobEnd::Printed : JobEnd::Failed;
}

// The job with its progress window, the preview disabled meanwhile so nothing closes the
// document or starts a second job under it.
JobEnd PrintJob(HWND preview, HDC dc, const Document &doc, PageSpan span) {
    PrintingWindow printing;
    printing.window = CreateDialogParamA(EngineModule(), MAKEINTRESOURCEA(IDD_PRINTING), preview,
                                         PrintingProc, 0);
    if (!printing.window)
        return JobEnd::Failed;
    g_printing = &printing;
    EnableWindow(preview, FALSE);
    SetAbortProc(dc, KeepWindowsAlive);
    JobEnd end = SendPages(dc, doc, span, printing);
    g_printing = nullptr;
    // The preview takes its input back before the window goes, so Windows activates it and
    // not some other program's window.
    EnableWindow(preview, TRUE);
    DestroyWindow(printing.window);
    return end;
}

bool AskForPrinter(HWND preview, PRINTDLGA &pd, int pageCount) {
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = preview;
    pd.Flags = PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nCopies = 1;
    pd.nFromPage = pd.nMinPage = 1;
    pd.nToPage = pd.nMaxPage = static_cast<WORD>(pageCount);
    if (PrintDlgA(&pd))
        return true;
    DWORD error = CommDlgExtendedError();
    if (error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES)
        EngineMessage(preview, kNoPrinter);
    else if (error != 0)
        EngineMessage(preview, "The print dialog could not be opened.");
    return false;
}

} // namespace

void PrintFromPreview(HWND preview, const Document &doc) {
    if (!AnyPrinterInstalled()) {
        EngineMessage(preview, kNoPrinter);
        return;
    }
    const int count = static_cast<int>(doc.pages.size());
    PRINTDLGA pd{};
    if (!AskForPrinter(preview, pd, count))
        return;
    HDC dc = LetterPortraitDC(pd);
    PageSpan span = PagesToPrint((pd.Flags & PD_PAGENUMS) != 0, pd.nFromPage, pd.nToPage, count);
    JobEnd end = dc ? PrintJob(preview, dc, doc, span) : JobEnd::Failed;
    if (dc)
        DeleteDC(dc);
    GlobalFree(pd.hDevMode);
    GlobalFree(pd.hDevNames);
    if (end == JobEnd::Failed)
        EngineMessage(preview, "The report could not be printed.");
}
