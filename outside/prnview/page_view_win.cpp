// The page view's window procedure: the page on a grey desk, drawn off screen and then shown
// in one piece, with scroll bars when the zoom makes it larger than the view; the mouse wheel
// scrolls on through the pages, and with Ctrl held it zooms.
#include "engine_windows_win.h"
#include "gdi_render_win.h"
#include "prnview_resources.h"

namespace {

PreviewState *StateOf(HWND view) {
    return reinterpret_cast<PreviewState *>(GetWindowLongPtrA(view, GWLP_USERDATA));
}

int ScreenDpi(HWND view) {
    HDC dc = GetDC(view);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(view, dc);
    return dpi;
}

RECT ClientOf(HWND view) {
    RECT client;
    GetClientRect(view, &client);
    return client;
}

PixelSize PageSize(HWND view, const PreviewState &s) {
    RECT client = ClientOf(view);
    return PageSizeInView(s.zoom, client.right, client.bottom, ScreenDpi(view));
}

void ShowZoomLabel(HWND view, const PreviewState &s) {
    std::string label = ZoomLabel(ShownZoomPercent(view));
    char shown[16] = "";
    GetDlgItemTextA(s.window, IDC_ZOOM_LABEL, shown, sizeof shown);
    if (label != shown)
        SetDlgItemTextA(s.window, IDC_ZOOM_LABEL, label.c_str());
}

void Wheel(HWND view, PreviewState &s, WPARAM wp) {
    int delta = GET_WHEEL_DELTA_WPARAM(wp);
    if (GET_KEYSTATE_WPARAM(wp) & MK_CONTROL)
        return ZoomPageView(view, ZoomStep(ShownZoomPercent(view), delta));
    int range = ScrollRange(PageSize(view, s).height, ClientOf(view).bottom);
    ViewPlace to =
        WheelPlace({s.page, s.scrollY}, delta, range, static_cast<int>(s.doc->pages.size()));
    if (to.page != s.page)
        return ShowPreviewPage(s, to.page, to.scroll);
    s.scrollY = to.scroll;
    RefreshPageView(view);
}

void SetBar(HWND view, int bar, int range, int viewExtent, int &pos) {
    pos = range == 0 ? 0 : pos < 0 ? 0 : pos > range ? range : pos;
    SCROLLINFO info{
        sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    info.nMax = range == 0 ? 0 : range + viewExtent - 1;
    info.nPage = range == 0 ? 0 : viewExtent;
    info.nPos = pos;
    SetScrollInfo(view, bar, &info, TRUE);
}

void Scroll(HWND view, int bar, int code, int &pos) {
    RECT client = ClientOf(view);
    int page = bar == SB_VERT ? client.bottom : client.right;
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(view, bar, &info);
    switch (code) {
    case SB_LINEUP:
        pos -= 40;
        break;
    case SB_LINEDOWN:
        pos += 40;
        break;
    case SB_PAGEUP:
        pos -= page;
        break;
    case SB_PAGEDOWN:
        pos += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        pos = info.nTrackPos;
        break;
    case SB_TOP:
        pos = 0;
        break;
    case SB_BOTTOM:
        pos = info.nMax;
        break;
    default:
        return;
    }
    RefreshPageView(view);
}

void Paint(HWND view, HDC dc, const PreviewState &s) {
    RECT client = ClientOf(view);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(mem, bitmap);
    HBRUSH desk = CreateSolidBrush(RGB(128, 128, 128));
    FillRect(mem, &client, desk);
    DeleteObject(desk);

    PixelSize size = PageSizeInView(s.zoom, client.right, client.bottom, ScreenDpi(view));
    int x = size.width + 2 * kViewMargin <= client.right ? (client.right - size.width) / 2
                                                         : kViewMargin - s.scrollX;
    int y = size.height + 2 * kViewMargin <= client.bottom ? (client.bottom - size.height) / 2
                                                           : kViewMargin - s.scrollY;
    RECT shadow{x + 4, y + 4, x + size.width + 4, y + size.height + 4};
    FillRect(mem, &shadow, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECT page{x, y, x + size.width, y + size.height};
    FillRect(mem, &page, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    double perInch = size.width / kPageWidthInches;
    RenderPage(mem, *s.doc, static_cast<size_t>(s.page), DeviceFrame{perInch, perInch, x, y});

    BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
}

LRESULT CALLBACK PageViewProc(HWND view, UINT msg, WPARAM wp, LPARAM lp) {
    PreviewState *s = StateOf(view);
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(view, &ps);
        if (s)
            Paint(view, dc, *s);
        EndPaint(view, &ps);
        return 0;
    }
    case WM_SIZE:
        if (s)
            RefreshPageView(view);
        return 0;
    case WM_VSCROLL:
        if (s)
            Scroll(view, SB_VERT, LOWORD(wp), s->scrollY);
        return 0;
    case WM_HSCROLL:
        if (s)
            Scroll(view, SB_HORZ, LOWORD(wp), s->scrollX);
        return 0;
    case WM_MOUSEWHEEL:
        if (s)
            Wheel(view, *s, wp);
        return 0;
    case WM_KEYDOWN:
        if (s && (wp == VK_UP || wp == VK_DOWN))
            Scroll(view, SB_VERT, wp == VK_UP ? SB_LINEUP : SB_LINEDOWN, s->scrollY);
        else if (s && (wp == VK_LEFT || wp == VK_RIGHT))
            Scroll(view, SB_HORZ, wp == VK_LEFT ? SB_LINEUP : SB_LINEDOWN, s->scrollX);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(view);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    }
    return DefWindowProcA(view, msg, wp, lp);
}

} // namespace

bool RegisterPageView() {
    WNDCLASSA cls{};
    if (GetClassInfoA(EngineModule(), kPageViewClass, &cls))
        return true;
    cls.lpfnWndProc = PageViewProc;
    cls.hInstance = EngineModule();
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.lpszClassName = kPageViewClass;
    return RegisterClassA(&cls) != 0;
}

void RefreshPageView(HWND view) {
    PreviewState *s = StateOf(view);
    if (!s)
        return;
    RECT client = ClientOf(view);
    PixelSize size = PageSize(view, *s);
    SetBar(view, SB_HORZ, ScrollRange(size.width, client.right), client.right, s->scrollX);
    SetBar(view, SB_VERT, ScrollRange(size.height, client.bottom), client.bottom, s->scrollY);
    ShowZoomLabel(view, *s);
    InvalidateRect(view, nullptr, FALSE);
}

void ZoomPageView(HWND view, Zoom zoom) {
    PreviewState *s = StateOf(view);
    if (!s)
        return;
    RECT client = ClientOf(view);
    PixelSize before = PageSize(view, *s);
    s->zoom = zoom;
    PixelSize after = PageSize(view, *s);
    s->scrollX = ScrollKeepingCentre(s->scrollX, client.right, before.width, after.width);
    s->scrollY = ScrollKeepingCentre(s->scrollY, client.bottom, before.height, after.height);
    RefreshPageView(view);
}

int ShownZoomPercent(HWND view) {
    PreviewState *s = StateOf(view);
    RECT client = ClientOf(view);
    return s ? ZoomPercent(s->zoom, client.right, client.bottom, ScreenDpi(view)) : 100;
}
