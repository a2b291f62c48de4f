// Print... and Save as PDF... of the preview: the Windows print and save dialogs, the printer
// job through the GDI renderer, the PDF file through the PDF writer.
#include <windows.h>

#include <cderr.h>
#include <commdlg.h>
#include <winspool.h>

#include <cstdio>

#include "engine_message_win.h"
#include "engine_windows_win.h"
#include "gdi_render_win.h"
#include "pdf_writer.h"

namespace {

constexpr const char *kNoPrinter =
    "No printer is installed. Add a printer in Windows to print this report, or save it as a "
    "PDF file.";

bool AnyPrinterInstalled() {
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed,
                  &count);
    return needed > 0;
}

bool WriteFileBytes(const std::string &path, const std::string &bytes) {
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

} // namespace

void PrintFromPreview(HWND preview, const Document &doc) {
    if (!AnyPrinterInstalled()) {
        EngineMessage(preview, kNoPrinter);
        return;
    }
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = preview;
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nCopies = 1;
    if (!PrintDlgA(&pd)) {
        DWORD error = CommDlgExtendedError();
        if (error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES)
            EngineMessage(preview, kNoPrinter);
        else if (error != 0)
            EngineMessage(preview, "The print dialog could not be opened.");
        return;
    }
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    bool printed = PrintPages(pd.hDC, doc);
    SetCursor(old);
    DeleteDC(pd.hDC);
    GlobalFree(pd.hDevMode);
    GlobalFree(pd.hDevNames);
    if (!printed)
        EngineMessage(preview, "The report could not be printed.");
}

void SavePdfFromPreview(HWND preview, const Document &doc) {
    char path[MAX_PATH];
    lstrcpynA(path, PdfFileName(doc.title).c_str(), MAX_PATH);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = preview;
    ofn.lpstrFilter = "PDF files (*.pdf)\0*.pdf\0All files (*.*)\0*.*\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = "pdf";
    ofn.lpstrTitle = "Save as PDF";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetSaveFileNameA(&ofn))
        return;
    if (!WriteFileBytes(path, PdfBytes(doc)))
        EngineMessage(preview, std::string("The PDF file could not be written:\n") + path);
}
