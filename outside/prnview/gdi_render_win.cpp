// The GDI renderer. Fonts are made once per face, size and weight within a page.
#include "gdi_render_win.h"

#include <algorithm>
#include <cmath>
#include <new>
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

    void Text(size_t textIndex) {
        static const UINT aligns[] = {TA_LEFT, TA_CENTER, TA_RIGHT};
        const TextItem &t = doc_.pages[index_].texts[textIndex];
        const TextFont &font = doc_.fonts[t.font];
        HGDIOBJ old = SelectObject(dc_, FontFor(t.font));
        SetTextAlign(dc_, TA_TOP | TA_NOUPDATECP | aligns[static_cast<int>(t.align)]);
        SetTextColor(dc_, font.colour);
        // Only page numbers need a copy: a plain text is drawn from the page's own characters.
        std::string shown;
        std::string_view text = doc_.pages[index_].TextOf(textIndex);
        if (t.special)
            text = shown = doc_.ShownText(index_, textIndex);
        TextOutA(dc_, X(t.x), Y(t.y), text.data(), static_cast<int>(text.size()));
        SelectObject(dc_, old);
    }
    void Shape(const ShapeItem &s) {
        if (s.kind == ShapeKind::Line)
            return Line(s);
        RECT box{X(std::min(s.x1, s.x2)), Y(std::min(s.y1, s.y2)), X(std::max(s.x1, s.x2)),
                 Y(std::max(s.y1, s.y2))};
        if (s.kind == ShapeKind::Solid) {
            HBRUSH brush = CreateSolidBrush(s.colour);
            FillRect(dc_, &box, brush);
            DeleteObject(brush);
            return;
        }
        COLORREF penColour = s.kind == ShapeKind::Framed ? RGB(0, 0, 0) : s.colour;
        HPEN pen = CreatePen(PS_SOLID, PenWidth(s.width), penColour);
        HBRUSH brush = s.kind == ShapeKind::Framed ? CreateSolidBrush(s.colour) : nullptr;
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
    void Line(const ShapeItem &l) {
        HPEN pen = CreatePen(PS_SOLID, PenWidth(l.width), l.colour);
        HGDIOBJ old = SelectObject(dc_, pen);
        MoveToEx(dc_, X(l.x1), Y(l.y1), nullptr);
        LineTo(dc_, X(l.x2), Y(l.y2));
        SelectObject(dc_, old);
        DeleteObject(pen);
    }
    // Fonts differing only in colour share one GDI font.
    HFONT FontFor(uint16_t index) {
        const TextFont &wanted = doc_.fonts[index];
        for (auto &f : fonts_) {
            const TextFont &made = doc_.fonts[f.first];
            if (made.face == wanted.face && made.points == wanted.points &&
                made.bold == wanted.bold)
                return f.second;
        }
        HFONT font = CreateFontA(-Round(wanted.points * frame_.pixelsPerInchY / 72), 0, 0, 0,
                                 wanted.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                 ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 ANTIALIASED_QUALITY, DEFAULT_PITCH, wanted.face.c_str());
        fonts_.push_back({index, font});
        return font;
    }

    HDC dc_;
    const Document &doc_;
    size_t index_;
    DeviceFrame frame_;
    std::vector<std::pair<uint16_t, HFONT>> fonts_; // by font table index
};

} // namespace

bool RenderPage(HDC dc, const Document &doc, size_t index, const DeviceFrame &frame) {
    if (index >= doc.pages.size())
        return true;
    int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    bool whole = true;
    // Called from window procedures, which nothing may leave by an exception.
    try {
        PageDrawer drawer(dc, doc, index, frame);
        ForEachItem(
            doc, index, [&](size_t text) { drawer.Text(text); },
            [&](const ShapeItem &shape) { drawer.Shape(shape); });
    } catch (const std::bad_alloc &) {
        whole = false;
    }
    RestoreDC(dc, saved);
    return whole;
}

DeviceFrame PrinterFrame(HDC dc) {
    return {static_cast<double>(GetDeviceCaps(dc, LOGPIXELSX)),
            static_cast<double>(GetDeviceCaps(dc, LOGPIXELSY)), -GetDeviceCaps(dc, PHYSICALOFFSETX),
            -GetDeviceCaps(dc, PHYSICALOFFSETY)};
}
