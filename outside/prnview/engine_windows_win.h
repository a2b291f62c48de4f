// The engine's windows: the progress window while a document is composed, the modal preview
// when it ends, and the page view inside the preview.
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
    Zoom zoom = Zoom::FitPage;
    int scrollX = 0, scrollY = 0;
    bool done = false;
    HWND window = nullptr;
    HWND view = nullptr;
};

// Shows the document in a preview owned by `owner` and returns when the user closes it.
void RunPreview(HWND owner, const Document &doc);

constexpr const char *kPageViewClass = "PrnviewPage";
bool RegisterPageView();
// Refits the page view after the page, zoom or view size changed.
void RefreshPageView(HWND view);

// Print... and Save as PDF... of the preview, with their dialogs and messages.
void PrintFromPreview(HWND preview, const Document &doc);
void SavePdfFromPreview(HWND preview, const Document &doc);
