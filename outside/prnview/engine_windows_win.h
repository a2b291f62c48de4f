// The engine's windows: the progress window while a document is composed, the modal preview
// when it ends, the page view inside the preview, and the print job sent from the preview.
#pragma once
#include <windows.h>

#include <string>

#include "document.h"
#include "preview_layout.h"

HINSTANCE EngineModule();

// A modeless progress window owned by `owner`; sets *cancelled when the user presses Cancel
// or closes it. Null when it cannot be created.
HWND OpenProgressWindow(HWND owner, const std::string &title, bool *cancelled);
void ShowProgressPercent(HWND progress, int percent);

// What the preview window and its page view share.
struct PreviewState {
    const Document *doc = nullptr;
    int page = 0;
    Zoom zoom;
    int scrollX = 0, scrollY = 0;
    bool done = false;
    HWND window = nullptr;
    HWND view = nullptr;
};

// Shows the document in a preview owned by `owner` and returns when the user closes it.
void RunPreview(HWND owner, const Document &doc);
// Turns the preview to `page` (0-based), scrolled `scrollY` pixels down.
void ShowPreviewPage(PreviewState &s, int page, int scrollY);

constexpr const char *kPageViewClass = "PrnviewPage";
bool RegisterPageView();
// Refits the page view after the page, zoom or view size changed.
void RefreshPageView(HWND view);
// Sets the zoom, keeping the part of the page in view where it was as far as it can.
void ZoomPageView(HWND view, Zoom zoom);
// The zoom as the view shows it now, in percent of actual size.
int ShownZoomPercent(HWND view);

// Print... and Save as PDF... of the preview, with their dialogs, windows and messages.
void PrintFromPreview(HWND preview, const Document &doc);
void SavePdfFromPreview(HWND preview, const Document &doc);
