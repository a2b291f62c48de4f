// PRNVIEW32: the print-and-preview engine the reports compose their pages through. One document
// at a time: pages of text, lines and rectangles, shown in a preview window that prints on any
// Windows printer and saves PDF files, or written straight to a PDF file with no window at all.
//
// Units: x and y are inches from the top left corner of a letter page (8.5 by 11 inches); line
// widths are points (1/72 inch). Colours are COLORREF values, 0x00BBGGRR. Alignment 0 puts the
// text's left end at x, 1 its centre, 2 its right end; y is the top of the text line.
// Texts are Windows-1252.
//
// Every call but pvStartDoc returns 1 on success or one of the negative PV_ERR_ values below;
// a handle that is not the open document's gives PV_ERR_HANDLE and changes nothing.
#pragma once
#include <cstdint>

#ifdef _WIN32
#define PRNVIEW_CALL __stdcall
#else
#define PRNVIEW_CALL
#endif

#ifdef PRNVIEW_BUILD
#ifdef _WIN32
#define PRNVIEW_API __declspec(dllexport)
#else
#define PRNVIEW_API __attribute__((visibility("default")))
#endif
#else
#define PRNVIEW_API
#endif

enum : int32_t {
    PV_OK = 1,
    PV_ERR_BUSY = -1,     // pvStartDoc: a document is open already (in this process)
    PV_ERR_OUTPUT = -2,   // pvStartDoc: the unattended PDF file cannot be created
    PV_ERR_ARGUMENT = -3, // an argument outside its documented values, a null text, or a
                          // coordinate or width that is not a number or beyond 1000
    PV_ERR_HANDLE = -4,   // not the handle of the open document
    PV_ERR_WINDOW = -5,   // pvStartDoc: the progress window could not be created
    PV_ERR_WRITE = -6,    // pvEndDoc: the unattended PDF file could not be written whole
};

// Page setup arguments, the same for the first page (pvStartDoc) and each further page:
//   paper:       1 letter (the only size the engine lays out; others give PV_ERR_ARGUMENT)
//   orientation: 0 portrait (the only one; others give PV_ERR_ARGUMENT)
//   source:      paper bin, as a Windows DMBIN_ value (7 automatic); any value is accepted and
//                kept with the page, and the printer feeds from the bin its print dialog chose
enum : int32_t { PV_PAPER_LETTER = 1, PV_PORTRAIT = 0, PV_SOURCE_AUTO = 7 };

// pvEndDoc modes.
enum : int32_t { PV_END_FINISHED = 4, PV_END_STOPPED = 6 };

// pvFont style bits; 0 regular.
enum : int32_t { PV_STYLE_BOLD = 1 };

extern "C" {
// Opens a document with its first page. Returns its handle (1 or more; each document gets a
// new one) or PV_ERR_BUSY, PV_ERR_OUTPUT, PV_ERR_ARGUMENT, PV_ERR_WINDOW.
//   owner:   window that owns the engine's windows; 0 takes the calling thread's active window.
//            That window is disabled from here until the preview closes.
//   title:   caption of the progress and preview windows and the PDF's title.
//   output:  "" (or null) for the preview; otherwise the path of a PDF file that pvEndDoc writes
//            with no window shown. The environment variable PRNVIEW32_PDF, when set, overrides
//            it: sites that file every report set it once. When it names a folder (one that
//            exists, or a value ending in a backslash), each document is filed there as
//            "<title> YYYY-MM-DD HHMMSS.pdf" (the time it started), or with " (2)", " (3)" ...
//            before ".pdf" when that name is taken.
//   numberBase: added to every page number (0: pages count from 1), and to the page count.
//   paper, orientation, source: the first page's setup, as for pvNewPage.
//   tag:     the caller's own number for the document; any value, not used by the engine.
PRNVIEW_API int32_t PRNVIEW_CALL pvStartDoc(int32_t owner, const char *title, const char *output,
                                            int32_t numberBase, int32_t paper, int32_t orientation,
                                            int32_t source, int32_t tag);
// Starts the next page with its setup (see above). The font carries over.
PRNVIEW_API int32_t PRNVIEW_CALL pvNewPage(int32_t doc, int32_t paper, int32_t orientation,
                                           int32_t source);
// Ends the document: PV_END_FINISHED, or PV_END_STOPPED when the user stopped it (the preview
// then says "(stopped)", and a PDF file after its title and in its last page's footer, the
// page's lowest text). Shows the modal preview and returns when it closes, or writes the
// unattended PDF (PV_ERR_WRITE when it could not be written whole). Any other mode gives
// PV_ERR_ARGUMENT and leaves the document open.
PRNVIEW_API int32_t PRNVIEW_CALL pvEndDoc(int32_t doc, int32_t mode);
// Moves the progress bar; values outside 0..100 are taken as 0 or 100.
PRNVIEW_API int32_t PRNVIEW_CALL pvSetProgress(int32_t doc, int32_t percent);
// 1 once the user pressed Cancel in the progress window, else 0 (PV_ERR_HANDLE, also non-zero,
// for a wrong handle: a caller looping on it stops). Lets pending window messages through at
// most every 50 ms and otherwise repeats its last answer, so calling it per record costs little.
PRNVIEW_API int32_t PRNVIEW_CALL pvCheckAbort(int32_t doc);
// The font of the texts that follow: style (PV_STYLE_ bits; others ignored), size in points
// (1 to 1000), colour, face ("Times New Roman", "Courier New" or any other face, which PDF
// files show as Helvetica).
PRNVIEW_API int32_t PRNVIEW_CALL pvFont(int32_t doc, int32_t style, int32_t points, int32_t colour,
                                        const char *face);
PRNVIEW_API int32_t PRNVIEW_CALL pvText(int32_t doc, float x, float y, int32_t align,
                                        const char *text);
// As pvText; "##pageno##" and "##pagecount##" in the text become the page's number and the
// number of pages, filled in when the document ends.
PRNVIEW_API int32_t PRNVIEW_CALL pvSpecialText(int32_t doc, float x, float y, int32_t align,
                                               const char *text);
PRNVIEW_API int32_t PRNVIEW_CALL pvLine(int32_t doc, float x1, float y1, float x2, float y2,
                                        float width, int32_t colour);
// fill 0: outline of `width` points in black, inside painted in `colour` (a framed box);
// fill 1: the whole rectangle painted in `colour`, no outline; fill 2: outline only, in `colour`.
PRNVIEW_API int32_t PRNVIEW_CALL pvRect(int32_t doc, float x1, float y1, float x2, float y2,
                                        float width, int32_t colour, int32_t fill);
}
