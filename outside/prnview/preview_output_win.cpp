// Save as PDF... of the preview: the Windows save dialog and the PDF file through the PDF
// writer.
#include <windows.h>

#include <commdlg.h>

#include <cstdio>

#include "engine_message_win.h"
#include "engine_windows_win.h"
#include "pdf_writer.h"

namespace {

bool WritePdfFile(const std::string &path, const Document &doc) {
    FILE *f = std::fopen(path.c_str(), "wb");
    return f && WritePdfAndClose(doc, f);
}

} // namespace

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
    if (!WritePdfFile(path, doc))
        EngineMessage(preview, std::string("The PDF file could not be written:\n") + path);
}
