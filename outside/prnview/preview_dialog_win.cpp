// The preview window: its dialog procedure and the modal loop that runs it, where the paging
// keys and the mouse wheel are taken before the dialog manager can hand them to a control.
#include "engine_windows_win.h"
#include "prnview_resources.h"

namespace {

PreviewState *StateOf(HWND dlg) {
    return reinterpret_cast<PreviewState *>(GetWindowLongPtrA(dlg, GWLP_USERDATA));
}

int PageCount(const PreviewState &s) {
    return static_cast<int>(s.doc->pages.size());
}

void Step(PreviewState &s, PageStep step) {
    int page = StepPage(step, s.page, PageCount(s));
    if (page != s.page)
        ShowPreviewPage(s, page, 0);
}

void ZoomBy(PreviewState &s, int direction) {
    ZoomPageView(s.view, ZoomStep(ShownZoomPercent(s.view), direction));
}

void PlaceView(const PreviewState &s) {
    RECT client, button;
    GetClientRect(s.window, &client);
    GetWindowRect(GetDlgItem(s.window, IDC_FIRST), &button);
    MapWindowPoints(nullptr, s.window, reinterpret_cast<POINT *>(&button), 2);
    int top = button.bottom + button.top;
    MoveWindow(s.view, 0, top, client.right, client.bottom > top ? client.bottom - top : 0, TRUE);
}

// Most of the work area of the owner's monitor: a letter page needs the height.
void SizeToScreen(HWND dlg, HWND owner) {
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    GetMonitorInfoA(MonitorFromWindow(owner ? owner : dlg, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT &work = monitor.rcWork;
    int w = (work.right - work.left) * 4 / 5, h = (work.bottom - work.top) * 9 / 10;
    MoveWindow(dlg, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2, w, h, FALSE);
}

void Command(PreviewState &s, int id) {
    switch (id) {
    case IDC_FIRST:
        return Step(s, PageStep::First);
    case IDC_PREVIOUS:
        return Step(s, PageStep::Previous);
    case IDC_NEXT:
        return Step(s, PageStep::Next);
    case IDC_LAST:
        return Step(s, PageStep::Last);
    case IDC_FIT_PAGE:
        return ZoomPageView(s.view, {ZoomMode::FitPage});
    case IDC_FIT_WIDTH:
        return ZoomPageView(s.view, {ZoomMode::FitWidth});
    case IDC_ZOOM_OUT:
        return ZoomBy(s, -1);
    case IDC_ZOOM_IN:
        return ZoomBy(s, 1);
    case IDC_PRINT:
        return PrintFromPreview(s.window, *s.doc);
    case IDC_SAVE_PDF:
        return SavePdfFromPreview(s.window, *s.doc);
    case IDCANCEL:
        s.done = true;
        return;
    }
}

INT_PTR CALLBACK PreviewProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: {
        auto *s = reinterpret_cast<PreviewState *>(lp);
        SetWindowLongPtrA(dlg, GWLP_USERDATA, lp);
        s->window = dlg;
        s->view = GetDlgItem(dlg, IDC_PAGE_VIEW);
        SetWindowLongPtrA(s->view, GWLP_USERDATA, lp);
        SetWindowTextA(dlg, PreviewCaption(s->doc->title, s->doc->stopped).c_str());
        SizeToScreen(dlg, GetWindow(dlg, GW_OWNER));
        PlaceView(*s);
        ShowPreviewPage(*s, 0, 0);
        SetFocus(s->view);
        return FALSE;
    }
    case WM_SIZE:
        if (PreviewState *s = StateOf(dlg)) {
            PlaceView(*s);
            RefreshPageView(s->view);
        }
        return TRUE;
    case WM_COMMAND:
        if (PreviewState *s = StateOf(dlg); s && HIWORD(wp) == BN_CLICKED) {
            Command(*s, LOWORD(wp));
            if (!s->done)
                SetFocus(s->view);
        }
        return TRUE;
    case WM_CLOSE:
        if (PreviewState *s = StateOf(dlg))
            s->done = true;
        return TRUE;
    }
    return FALSE;
}

// The paging and printing keys and the mouse wheel, wherever the focus is in the preview.
bool TakeInput(PreviewState &s, const MSG &msg) {
    if (msg.hwnd != s.window && !IsChild(s.window, msg.hwnd))
        return false;
    if (msg.message == WM_MOUSEWHEEL && msg.hwnd != s.view) {
        SendMessageA(s.view, WM_MOUSEWHEEL, msg.wParam, msg.lParam);
        return true;
    }
    if (msg.message != WM_KEYDOWN)
        return false;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    switch (msg.wParam) {
    case VK_PRIOR:
        Command(s, IDC_PREVIOUS);
        return true;
    case VK_NEXT:
        Command(s, IDC_NEXT);
        return true;
    case VK_HOME:
        Command(s, IDC_FIRST);
        return true;
    case VK_END:
        Command(s, IDC_LAST);
        return true;
    case VK_ESCAPE:
        Command(s, IDCANCEL);
        return true;
    case 'P':
        if (!ctrl)
            return false;
        Command(s, IDC_PRINT);
        return true;
    }
    return false;
}

} // namespace

void ShowPreviewPage(PreviewState &s, int page, int scrollY) {
    int count = PageCount(s);
    s.page = page;
    s.scrollY = scrollY;
    SetDlgItemTextA(s.window, IDC_PAGE_LABEL, PageLabel(s.page, count).c_str());
    EnableWindow(GetDlgItem(s.window, IDC_FIRST), s.page > 0);
    EnableWindow(GetDlgItem(s.window, IDC_PREVIOUS), s.page > 0);
    EnableWindow(GetDlgItem(s.window, IDC_NEXT), s.page < count - 1);
    EnableWindow(GetDlgItem(s.window, IDC_LAST), s.page < count - 1);
    RefreshPageView(s.view);
}

void RunPreview(HWND owner, const Document &doc) {
    RegisterPageView();
    PreviewState state;
    state.doc = &doc;
    HWND dlg = CreateDialogParamA(EngineModule(), MAKEINTRESOURCEA(IDD_PREVIEW), owner, PreviewProc,
                                  reinterpret_cast<LPARAM>(&state));
    if (!dlg)
        return;
    ShowWindow(dlg, SW_SHOW);
    MSG msg;
    while (!state.done) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The host is quitting: close the preview and leave the quit for its own loop.
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (TakeInput(state, msg) || IsDialogMessageA(dlg, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // The owner takes its input back before the preview goes, so Windows activates it and not
    // some other program's window.
    if (owner)
        EnableWindow(owner, TRUE);
    DestroyWindow(dlg);
}
