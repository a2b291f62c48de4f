// The printer path without a printer: pages rendered by the GDI renderer into an enhanced
// metafile, whose text records say what a printer would have been told to draw.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gdi_render_win.h"

namespace {

struct TextRecord {
    std::string text;
    POINTL at;
    UINT align;
};

struct Recording {
    UINT align = 0;
    std::vector<TextRecord> texts;
};

int CALLBACK Collect(HDC, HANDLETABLE *, const ENHMETARECORD *rec, int, LPARAM data) {
    auto *out = reinterpret_cast<Recording *>(data);
    if (rec->iType == EMR_SETTEXTALIGN) {
        out->align = reinterpret_cast<const EMRSELECTCLIPPATH *>(rec)->iMode;
    } else if (rec->iType == EMR_EXTTEXTOUTW || rec->iType == EMR_EXTTEXTOUTA) {
        const auto *t = reinterpret_cast<const EMREXTTEXTOUTW *>(rec);
        const char *base = reinterpret_cast<const char *>(rec) + t->emrtext.offString;
        std::string text;
        for (DWORD i = 0; i < t->emrtext.nChars; ++i)
            text += rec->iType == EMR_EXTTEXTOUTW
                        ? static_cast<char>(reinterpret_cast<const WCHAR *>(base)[i])
                        : base[i];
        out->texts.push_back({text, t->emrtext.ptlReference, out->align});
    }
    return 1;
}

Document TwoPages() {
    Document doc;
    doc.title = "Metafile";
    const uint16_t times = doc.FontIndex(TextFont{"Times New Roman", 8, false, 0});
    const uint16_t courier = doc.FontIndex(TextFont{"Courier New", 10, true, 0xFF0000});
    doc.AddPage(7);
    doc.AddShape(ShapeItem{0.5, 0.5, 8.0, 0.8, 1, 0xFFFFFF, ShapeKind::Framed});
    doc.AddText(8.0f, 1.0f, Align::Right, courier, "Right", false);
    doc.AddText(4.25f, 2.0f, Align::Centre, courier, "Centre", false);
    doc.AddShape(ShapeItem{0.5, 1.26f, 8.0, 1.26f, 1, 0x969696, ShapeKind::Line});
    doc.AddText(0.5f, 10.2f, Align::Left, times, "Page ##pageno## of ##pagecount##", true);
    doc.AddPage(7);
    doc.AddText(0.5f, 10.2f, Align::Left, times, "Page ##pageno## of ##pagecount##", true);
    return doc;
}

Recording RenderToMetafile(const Document &doc, size_t page) {
    HDC screen = GetDC(nullptr);
    RECT letter{0, 0, 21590, 27940}; // 0.01 mm
    HDC dc = CreateEnhMetaFileA(screen, nullptr, &letter, nullptr);
    ReleaseDC(nullptr, screen);
    RenderPage(dc, doc, page, PrinterFrame(dc));
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    Recording rec;
    EnumEnhMetaFile(nullptr, emf, Collect, &rec, nullptr);
    DeleteEnhMetaFile(emf);
    return rec;
}

TEST(GdiRenderer, TextsReachTheDeviceWithTheirAlignmentAndPageNumbers) {
    Document doc = TwoPages();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    Recording first = RenderToMetafile(doc, 0);
    ASSERT_EQ(first.texts.size(), 3u);
    struct Expected {
        const char *text;
        double x, y;
        UINT align;
    } expected[] = {{"Right", 8.0, 1.0, TA_RIGHT},
                    {"Centre", 4.25, 2.0, TA_CENTER},
                    {"Page 1 of 2", 0.5, 10.2, TA_LEFT}};
    for (size_t i = 0; i < 3; ++i) {
        const TextRecord &t = first.texts[i];
        EXPECT_EQ(t.text, expected[i].text);
        EXPECT_NEAR(t.at.x, expected[i].x * dpi, 1) << t.text;
        EXPECT_NEAR(t.at.y, expected[i].y * dpi, 1) << t.text;
        EXPECT_EQ(t.align & (TA_RIGHT | TA_CENTER), expected[i].align) << t.text;
    }
    Recording second = RenderToMetafile(doc, 1);
    ASSERT_EQ(second.texts.size(), 1u);
    EXPECT_EQ(second.texts[0].text, "Page 2 of 2");
}

TEST(GdiRenderer, PageOutsideTheDocumentDrawsNothing) {
    EXPECT_TRUE(RenderToMetafile(TwoPages(), 2).texts.empty());
}

} // namespace
