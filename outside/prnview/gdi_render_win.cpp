// The GDI renderer. Fonts are made once per face, size and weight within a page.
#include "gdi_render_win.h"

#include <cmath>
#include <vector>

namespace {

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

class PageDrawer {
  public:
    PageDrawer(HDC dc, const Document &doc, size_t index, const DeviceFrame &frame)
        : dc_(dc), doc_(doc), index_(index), frame_(frame) {}
    ~PageDrawer() {
        for (auto &f : fonts_)
            DeleteObject(f.second);
    }
    PageDrawer(const PageDrawer &) = delete;
    PageDrawer &operator=(const PageDrawer &) = delete;

    int X(double inches) const { return frame_.originX + Round(inches * frame_.pixelsPerInchX); }
    int Y(double inches) const { return frame_.originY + Round(inches * frame_.pixelsPerInchY); }
    int PenWidth(double points) const {
        return points <= 0 ? 1 : std::max(1, Round(points * frame_.pixelsPerInchY / 72));
    }

    void operator()(const TextItem &t) {
        static const UINT aligns[] = {TA_LEFT, TA_CENTER, TA_RIGHT};
        HGDIOBJ old = SelectObject(dc_, FontFor(t.font));
        SetTextAlign(dc_, TA_TOP | TA_NOUPDATECP | aligns[static_cast<int>(t.align)]);
        SetTextColor(dc_, t.font.colour);
        std::string text = doc_.ShownText(t, index_);
        TextOutA(dc_, X(t.x), Y(t.y), text.c_str(), static_cast<int>(text.size()));
        SelectObject(dc_, old);
    }
    void operator()(const LineItem &l) {
        HPEN pen = CreatePen(PS_SOLID, PenWidth(l.width), l.colour);
        HGDIOBJ old = SelectObject(dc_, pen);
        MoveToEx(dc_, X(l.x1), Y(l.y1), nullptr);
        LineTo(dc_, X(l.x2), Y(l.y2));
        SelectObject(dc_, old);
        DeleteObject(pen);
    }
    void operator()(const RectItem &r) {
        RECT box{X(std::min(r.x1, r.x2)), Y(std::min(r.y1, r.y2)), X(std::max(r.x1, r.x2)),
                 Y(std::max(r.y1, r.y2))};
        if (r.fill == RectFill::Solid) {
            HBRUSH brush = CreateSolidBrush(r.colour);
            FillRect(dc_, &box, brush);
            DeleteObject(brush);
            return;
        }
        COLORREF penColour = r.fill == RectFill::Framed ? RGB(0, 0, 0) : r.colour;
        HPEN pen = CreatePen(PS_SOLID, PenWidth(r.width), penColour);
        HBRUSH brush = r.fill == RectFill::Framed ? CreateSolidBrush(r.colour) : nullptr;
        HGDIOBJ oldPen = SelectObject(dc_, pen);
        HGDIOBJ oldBrush = SelectObject(dc_, brush ? brush : GetStockObject(NULL_BRUSH));
        Rectangle(dc_, box.left, box.top, box.right, box.bottom);
        SelectObject(dc_, oldPen);
        SelectObject(dc_, oldBrush);
        DeleteObject(pen);
        if (brush)
            DeleteObject(brush);
    }

  private:
    HFONT FontFor(const TextFont &wanted) {
        for (auto &f : fonts_)
            if (f.first.face == wanted.face && f.first.points == wanted.points &&
                f.first.bold == wanted.bold)
                return f.second;
        HFONT font = CreateFontA(-Round(wanted.points * frame_.pixelsPerInchY / 72), 0, 0, 0,
                                 wanted.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                 ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 ANTIALIASED_QUALITY, DEFAULT_PITCH, wanted.face.c_str());
        fonts_.push_back({wanted, font});
        return font;
    }

    HDC dc_;
    const Document &doc_;
    size_t index_;
    DeviceFrame frame_;
    std::vector<std::pair<TextFont, HFONT>> fonts_;
};

} // namespace

void RenderPage(HDC dc, const Document &doc, size_t index, const DeviceFrame &frame) {
    if (index >= doc.pages.size())
        return;
    int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    PageDrawer drawer(dc, doc, index, frame);
    for (const PageItem &item : doc.pages[index].items)
        std::visit(drawer, item);
    RestoreDC(dc, saved);
}

DeviceFrame PrinterFrame(HDC dc) {
    return {static_cast<double>(GetDeviceCaps(dc, LOGPIXELSX)),
            static_cast<double>(GetDeviceCaps(dc, LOGPIXELSY)), -GetDeviceCaps(dc, PHYSICALOFFSETX),
            -GetDeviceCaps(dc, PHYSICALOFFSETY)};
}
