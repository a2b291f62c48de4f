// The engine core: page numbers, text measurement and alignment, handles, the progress clamp,
// the abort throttle and the unattended output file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <vector>

#include "engine.h"
#include "font_metrics.h"
#include "pdf_streams_test.h"
#include "pdf_writer.h"
#include "preview_layout.h"
#include "prnview.h"

// Allocations that fail on demand: left this many before every further one fails (-1: none).
int allocationsLeft = -1;

void *operator new(size_t size) {
    if (allocationsLeft == 0)
        throw std::bad_alloc();
    if (allocationsLeft > 0)
        --allocationsLeft;
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
// Not inlined, so the compiler does not take the free for a mismatch with a new at the call.
[[gnu::noinline]] void operator delete(void *p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void *p, size_t) noexcept {
    std::free(p);
}

namespace {

std::string ReadFile(const std::string &path) {
    std::string bytes;
    if (FILE *f = std::fopen(path.c_str(), "rb")) {
        char buf[4096];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
            bytes.append(buf, n);
        std::fclose(f);
    }
    return bytes;
}

TEST(Document, PageNumbersAreFilledInOnlyInSpecialTexts) {
    struct Case {
        const char *name;
        int32_t base;
        bool special;
        const char *text;
        size_t page;
        const char *shown;
    } cases[] = {
        {"first of three", 0, true, "Page ##pageno## of ##pagecount##", 0, "Page 1 of 3"},
        {"last of three", 0, true, "Page ##pageno## of ##pagecount##", 2, "Page 3 of 3"},
        {"numbering base", 10, true, "##pageno##/##pagecount##", 1, "12/13"},
        {"marker twice", 0, true, "##pageno####pageno##", 1, "22"},
        {"plain text keeps markers", 0, false, "##pageno##", 0, "##pageno##"},
        {"broken marker stays", 0, true, "##pageno# ##pagecount", 0, "##pageno# ##pagecount"},
    };
    for (const Case &c : cases) {
        Document doc;
        doc.numberBase = c.base;
        for (size_t page = 0; page < 3; ++page) {
            doc.AddPage(7);
            // The texts around it share the page's characters and must stay out of it.
            doc.AddText(1, 1, Align::Left, 0, "before", false);
            if (page == c.page)
                doc.AddText(1, 2, Align::Left, 0, c.text, c.special);
            doc.AddText(1, 3, Align::Left, 0, "after", true);
        }
        EXPECT_EQ(doc.ShownText(c.page, 1), c.shown) << c.name;
        EXPECT_EQ(doc.ShownText(c.page, 0), "before") << c.name;
        EXPECT_EQ(doc.ShownText(c.page, 2), "after") << c.name;
    }
}

// Shapes between texts keep their place, so a box drawn after a text still covers it.
TEST(Document, ItemsComeBackInTheOrderDrawn) {
    Document doc;
    doc.AddPage(7);
    std::string drawn;
    const char *order = "RtLttLR";
    for (const char *c = order; *c; ++c) {
        if (*c == 't')
            doc.AddText(1, 1, Align::Left, 0, "t", false);
        else
            doc.AddShape(
                ShapeItem{0, 0, 1, 1, 1, 0, *c == 'L' ? ShapeKind::Line : ShapeKind::Solid});
    }
    ForEachItem(
        doc, 0, [&](size_t) { drawn += 't'; },
        [&](const ShapeItem &s) { drawn += s.kind == ShapeKind::Line ? 'L' : 'R'; });
    EXPECT_EQ(drawn, order);
}

TEST(FontMetrics, FacesMapToTheStandardFonts) {
    struct Case {
        const char *face;
        bool bold;
        StandardFont font;
    } cases[] = {
        {"Times New Roman", false, kTimesRoman},
        {"times new roman", true, kTimesBold},
        {"Courier New", false, kCourier},
        {"COURIER NEW", true, kCourierBold},
        {"Arial", false, kHelvetica},
        {"MS Sans Serif", true, kHelveticaBold},
        {"Times", false, kHelvetica},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StandardFontFor(c.face, c.bold), c.font) << c.face << " bold " << c.bold;
}

TEST(FontMetrics, WidthsComeFromTheGlyphTables) {
    struct Case {
        StandardFont font;
        double points;
        const char *text;
        double width;
    } cases[] = {
        {kCourier, 10, "Line", 24},         // every Courier glyph is 600/1000 em
        {kCourierBold, 10, "\xE9\x80", 12}, // e acute and the euro sign have widths too
        {kTimesRoman, 12, "Page", 23.328},  // 556 + 444 + 500 + 444
        {kTimesBold, 10, "W", 10},          // 1000
        {kHelvetica, 8, "Printed", 25.344}, // 667+333+222+556+278+556+556
        {kHelveticaBold, 10, "", 0},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(TextWidthPoints(c.font, c.points, c.text), c.width, 1e-9) << c.text;
}

TEST(Document, AlignmentPutsTheTextAtX) {
    EXPECT_DOUBLE_EQ(AlignedLeft(8.0, 0.5, Align::Right), 7.5);
    EXPECT_DOUBLE_EQ(AlignedLeft(4.25, 0.5, Align::Centre), 4.0);
    EXPECT_DOUBLE_EQ(AlignedLeft(0.5, 0.5, Align::Left), 0.5);
}

TEST(Document, CodesWithoutCharacterBecomeBlanks) {
    EXPECT_EQ(PrintableText("a\tb\x81\x7F\xE9\x80"), "a b  \xE9\x80");
    Document doc;
    doc.AddPage(7);
    doc.AddText(1, 1, Align::Left, 0, "a\tb\x81\x7F\xE9\x80", false);
    EXPECT_EQ(doc.pages[0].TextOf(0), "a b  \xE9\x80");
}

class FakeHost : public EngineHost {
  public:
    uint32_t Ticks() override { return now; }
    bool OpenProgress(int32_t owner, const std::string &title) override {
        openedFor = owner;
        openedTitle = title;
        return canOpen;
    }
    void ShowProgress(int32_t percent) override { shown.push_back(percent); }
    bool PumpMessages() override {
        ++pumps;
        return cancelOnPump;
    }
    void Preview(const Document &doc) override {
        previewed = doc.pages.size();
        previewStopped = doc.stopped;
    }
    void ReportCutShort() override { ++cutShortReports; }

    uint32_t now = 1000;
    bool canOpen = true, cancelOnPump = false;
    int32_t openedFor = -1;
    std::string openedTitle;
    std::vector<int32_t> shown;
    int pumps = 0;
    size_t previewed = 0;
    bool previewStopped = false;
    int cutShortReports = 0;
};

class EngineTest : public ::testing::Test {
  protected:
    int32_t Start() { return engine.StartDocument(0, "Report", "", 0, 1, 0, 7); }
    FakeHost host;
    Engine engine{host};
};

TEST_F(EngineTest, WrongHandlesAreRefusedEverywhere) {
    int32_t doc = Start();
    ASSERT_GE(doc, 1);
    for (int32_t wrong : {0, -1, doc + 1, 0x7FFFFFFF}) {
        EXPECT_EQ(engine.NewPage(wrong, 1, 0, 7), PV_ERR_HANDLE);
        EXPECT_EQ(engine.SetProgress(wrong, 5), PV_ERR_HANDLE);
        EXPECT_EQ(engine.CheckAbort(wrong), PV_ERR_HANDLE);
        EXPECT_EQ(engine.Font(wrong, 0, 10, 0, "Arial"), PV_ERR_HANDLE);
        EXPECT_EQ(engine.Text(wrong, 1, 1, 0, "x", false), PV_ERR_HANDLE);
        EXPECT_EQ(engine.Line(wrong, ShapeItem{}), PV_ERR_HANDLE);
        EXPECT_EQ(engine.Rect(wrong, ShapeItem{}, 0), PV_ERR_HANDLE);
        EXPECT_EQ(engine.EndDocument(wrong, 4), PV_ERR_HANDLE);
    }
    EXPECT_EQ(engine.State().doc.pages.size(), 1u);
    EXPECT_EQ(engine.EndDocument(doc, 4), PV_OK);
    // The finished document's handle is stale; the next document gets a new one.
    EXPECT_EQ(engine.Text(doc, 1, 1, 0, "x", false), PV_ERR_HANDLE);
    int32_t next = Start();
    EXPECT_GT(next, doc);
}

TEST_F(EngineTest, StartFailures) {
    int32_t doc = Start();
    EXPECT_EQ(Start(), PV_ERR_BUSY);
    EXPECT_EQ(engine.EndDocument(doc, 4), PV_OK);
    EXPECT_EQ(engine.StartDocument(0, "R", "", 0, 2, 0, 7), PV_ERR_ARGUMENT);
    EXPECT_EQ(engine.StartDocument(0, "R", "", 0, 1, 1, 7), PV_ERR_ARGUMENT);
    EXPECT_EQ(engine.StartDocument(0, "R", "/no/such/folder/out.pdf", 0, 1, 0, 7), PV_ERR_OUTPUT);
    host.canOpen = false;
    EXPECT_EQ(Start(), PV_ERR_WINDOW);
    host.canOpen = true;
    EXPECT_GE(Start(), 1) << "a failed start leaves no document open";
}

TEST_F(EngineTest, ArgumentsOutsideTheirValuesLeaveTheDocumentAsItWas) {
    int32_t doc = Start();
    EXPECT_EQ(engine.Text(doc, 1, 1, 3, "x", false), PV_ERR_ARGUMENT);
    EXPECT_EQ(engine.Text(doc, 1, 1, 0, nullptr, true), PV_ERR_ARGUMENT);
    EXPECT_EQ(engine.Font(doc, 0, 10, 0, nullptr), PV_ERR_ARGUMENT);
    EXPECT_EQ(engine.Font(doc, 0, 0, 0, "Arial"), PV_ERR_ARGUMENT);
    EXPECT_EQ(engine.Rect(doc, ShapeItem{}, 3), PV_ERR_ARGUMENT);
    const float nan = std::nanf(""), huge = 1e30f;
    EXPECT_EQ(engine.Text(doc, nan, 1, 0, "x", false), PV_ERR_ARGUMENT);
    EXPECT_EQ(engine.Text(doc, 1, -huge, 0, "x", false), PV_ERR_ARGUMENT);
    EXPECT_EQ(engine.Line(doc, ShapeItem{0, 0, huge, 0, 1, 0}), PV_ERR_ARGUMENT);
    EXPECT_EQ(engine.Line(doc, ShapeItem{0, 0, 1, 0, nan, 0}), PV_ERR_ARGUMENT);
    EXPECT_EQ(engine.Rect(doc, ShapeItem{0, nan, 1, 1, 1, 0}, 0), PV_ERR_ARGUMENT);
    EXPECT_EQ(engine.NewPage(doc, 1, 1, 7), PV_ERR_ARGUMENT);
    EXPECT_EQ(engine.EndDocument(doc, 5), PV_ERR_ARGUMENT);
    EXPECT_EQ(engine.State().doc.pages.size(), 1u);
    EXPECT_TRUE(engine.State().doc.pages[0].texts.empty());
    EXPECT_TRUE(engine.State().doc.pages[0].shapes.empty());
    EXPECT_EQ(engine.EndDocument(doc, 6), PV_OK) << "still open after a refused mode";
    EXPECT_TRUE(host.previewStopped);
}

TEST_F(EngineTest, ProgressIsClampedToAPercentage) {
    int32_t doc = Start();
    for (int32_t percent : {-5, 0, 42, 100, 101, 0x7FFFFFFF})
        engine.SetProgress(doc, percent);
    EXPECT_EQ(host.shown, (std::vector<int32_t>{0, 0, 42, 100, 100, 100}));
}

TEST_F(EngineTest, AbortCheckLetsMessagesThroughAtMostEvery50Ms) {
    int32_t doc = Start();
    struct Step {
        uint32_t advance;
        bool cancel;
        int pumps;
        int32_t answer;
    } steps[] = {
        {0, false, 1, 0},  // the first check always looks
        {49, true, 1, 0},  // too soon: the last answer
        {1, true, 2, 1},   // 50 ms on: looks and sees Cancel
        {10, false, 2, 1}, // Cancel sticks
        {100, false, 3, 1},
    };
    for (const Step &s : steps) {
        host.now += s.advance;
        host.cancelOnPump = s.cancel;
        EXPECT_EQ(engine.CheckAbort(doc), s.answer) << "at " << host.now;
        EXPECT_EQ(host.pumps, s.pumps) << "at " << host.now;
    }
}

TEST_F(EngineTest, AbortCheckSurvivesTheTickCountWrapping) {
    host.now = 0xFFFFFFF0u;
    int32_t doc = Start();
    engine.CheckAbort(doc);
    host.now = 0x30; // 64 ms later
    engine.CheckAbort(doc);
    EXPECT_EQ(host.pumps, 2);
}

TEST_F(EngineTest, AttendedDocumentGoesToThePreview) {
    int32_t doc = engine.StartDocument(77, "Inbound\x01", "", 0, 1, 0, 7);
    EXPECT_EQ(host.openedFor, 77);
    EXPECT_EQ(host.openedTitle, "Inbound ");
    engine.NewPage(doc, 1, 0, 7);
    EXPECT_EQ(engine.EndDocument(doc, 4), PV_OK);
    EXPECT_EQ(host.previewed, 2u);
    EXPECT_FALSE(host.previewStopped);
}

TEST_F(EngineTest, UnattendedDocumentIsWrittenWithNoWindow) {
    std::string path = ::testing::TempDir() + "prnview_unattended.pdf";
    int32_t doc = engine.StartDocument(0, "Filed", path.c_str(), 0, 1, 0, 7);
    ASSERT_GE(doc, 1);
    EXPECT_EQ(host.openedFor, -1) << "no progress window";
    EXPECT_EQ(engine.CheckAbort(doc), 0);
    EXPECT_EQ(host.pumps, 0);
    engine.Text(doc, 1, 1, 0, "Unattended", false);
    EXPECT_EQ(engine.EndDocument(doc, 6), PV_OK);
    EXPECT_EQ(host.previewed, 0u);
    const std::string bytes = ReadFile(path);
    std::remove(path.c_str());
    EXPECT_EQ(bytes.rfind("%PDF-1.4", 0), 0u);
    EXPECT_NE(InflatedStreams(bytes).find("(Unattended \\(stopped\\)) Tj"), std::string::npos);
}

// Pages are written as they are finished while the next ones are composed; the page numbers,
// known only at the end, and the stopped mark must still land on every page.
TEST_F(EngineTest, UnattendedPagesWrittenAheadCarryTheirNumbers) {
    const struct Case {
        int pages;
        int32_t mode;
    } cases[] = {
        {1, PV_END_FINISHED}, {3, PV_END_STOPPED}, {12, PV_END_FINISHED}, {12, PV_END_STOPPED}};
    const std::string path = ::testing::TempDir() + "prnview_ahead.pdf";
    for (const Case &c : cases) {
        const int32_t doc = engine.StartDocument(0, "Filed", path.c_str(), 0, 1, 0, 7);
        ASSERT_GE(doc, 1);
        for (int p = 0; p < c.pages; ++p) {
            if (p > 0) {
                ASSERT_EQ(engine.NewPage(doc, 1, 0, 7), PV_OK);
            }
            // A font new on each page: the thread writing a page finds it in its tables.
            ASSERT_EQ(engine.Font(doc, 0, 8 + p, 0, "Arial"), PV_OK);
            engine.Text(doc, 1, 1, 0, ("Row of page " + std::to_string(p + 1)).c_str(), false);
            engine.Text(doc, 0.5, 10.2, 0, "Page ##pageno## of ##pagecount##", true);
            engine.Line(doc, ShapeItem{0.5f, 1.2f, 8, 1.2f, 1, 0x969696});
        }
        ASSERT_EQ(engine.EndDocument(doc, c.mode), PV_OK);
        const std::string streams = InflatedStreams(ReadFile(path));
        for (int p = 1; p <= c.pages; ++p) {
            const std::string number =
                "(Page " + std::to_string(p) + " of " + std::to_string(c.pages) +
                (c.mode == PV_END_STOPPED && p == c.pages ? " \\(stopped\\)) Tj" : ") Tj");
            EXPECT_NE(streams.find(number), std::string::npos) << c.pages << ": " << number;
            EXPECT_NE(streams.find("(Row of page " + std::to_string(p) + ") Tj"),
                      std::string::npos);
        }
        EXPECT_EQ(streams.find("##"), std::string::npos) << c.pages;
        EXPECT_EQ(streams.find("<not Flate>"), std::string::npos) << c.pages;
    }
    std::remove(path.c_str());
}

// Only calls that add to the document allocate; the one that finds no memory cuts the document
// short, and the host, whose process it is, goes on.
TEST_F(EngineTest, RunningOutOfMemoryCutsTheDocumentShort) {
    const struct Case {
        const char *name;
        std::function<int32_t(Engine &, int32_t)> call;
    } cases[] = {
        {"text",
         [](Engine &e, int32_t d) { return e.Text(d, 1, 2, 0, "a text of some length", false); }},
        {"font", [](Engine &e, int32_t d) { return e.Font(d, 1, 14, 0, "Courier New"); }},
        {"page", [](Engine &e, int32_t d) { return e.NewPage(d, 1, 0, 7); }},
        {"line", [](Engine &e, int32_t d) { return e.Line(d, ShapeItem{}); }},
    };
    for (const Case &c : cases) {
        host.cutShortReports = 0;
        int32_t doc = Start();
        ASSERT_EQ(engine.Text(doc, 1, 1, 0, "kept", false), PV_OK);
        allocationsLeft = 0;
        const int32_t failed = c.call(engine, doc);
        allocationsLeft = -1;
        EXPECT_EQ(failed, PV_ERR_WRITE) << c.name;
        EXPECT_EQ(engine.CheckAbort(doc), 1) << c.name << ": the caller is told to stop";
        EXPECT_EQ(engine.Text(doc, 1, 3, 0, "later", false), PV_ERR_WRITE) << c.name;
        const Page &page = engine.State().doc.pages.front();
        EXPECT_EQ(engine.State().doc.pages.size(), 1u) << c.name;
        ASSERT_EQ(page.texts.size(), 1u) << c.name;
        EXPECT_EQ(page.TextOf(0), "kept") << c.name;
        EXPECT_EQ(engine.EndDocument(doc, 4), PV_OK) << c.name;
        EXPECT_TRUE(host.previewStopped) << c.name;
        EXPECT_EQ(host.cutShortReports, 1) << c.name;
    }
}

TEST_F(EngineTest, UnattendedDocumentCutShortIsWrittenMarkedAndReportedAsNotWritten) {
    std::string path = ::testing::TempDir() + "prnview_cut_short.pdf";
    int32_t doc = engine.StartDocument(0, "Filed", path.c_str(), 0, 1, 0, 7);
    engine.Text(doc, 1, 1, 0, "Composed", false);
    allocationsLeft = 0;
    engine.NewPage(doc, 1, 0, 7);
    allocationsLeft = -1;
    EXPECT_EQ(engine.EndDocument(doc, 4), PV_ERR_WRITE);
    EXPECT_EQ(host.cutShortReports, 0) << "no window for an unattended document";
    const std::string pdf = ReadFile(path);
    std::remove(path.c_str());
    EXPECT_NE(InflatedStreams(pdf).find("(Composed \\(stopped\\)) Tj"), std::string::npos);
}

TEST_F(EngineTest, AFontIsKeptOnceAndTextsReferToIt) {
    int32_t doc = Start();
    const char *faces[] = {"Courier New", "Arial", "Courier New", "Courier New", "Arial"};
    for (const char *face : faces) {
        engine.Font(doc, 0, 10, 0xFF, face);
        engine.Text(doc, 1, 1, 0, face, false);
    }
    engine.Font(doc, PV_STYLE_BOLD, 10, 0xFF, "Arial");
    engine.Text(doc, 1, 1, 0, "bold", false);
    const Document &d = engine.State().doc;
    ASSERT_EQ(d.fonts.size(), 4u) << "the default, Courier New, Arial and bold Arial";
    std::vector<int> used;
    for (const TextItem &t : d.pages[0].texts)
        used.push_back(t.font);
    EXPECT_EQ(used, (std::vector<int>{1, 2, 1, 1, 2, 3}));
    EXPECT_EQ(d.fonts[3].face, "Arial");
    EXPECT_TRUE(d.fonts[3].bold);
    EXPECT_EQ(d.pages[0].text, "Courier NewArialCourier NewCourier NewArialbold");
}

} // namespace

namespace {

TEST(PreviewLayout, PageSizeFollowsTheZoom) {
    struct Case {
        const char *name;
        Zoom zoom;
        int viewW, viewH, dpi;
        PixelSize size;
        int percent;
    } cases[] = {
        // 8.5 x 11 inches inside 12-pixel margins
        {"fit page, height limits", {ZoomMode::FitPage}, 1000, 574, 96, {425, 550}, 52},
        {"fit page, width limits", {ZoomMode::FitPage}, 195, 2000, 96, {171, 221}, 21},
        {"fit width", {ZoomMode::FitWidth}, 874, 300, 96, {850, 1100}, 104},
        {"actual size", {ZoomMode::Percent, 100}, 300, 300, 96, {816, 1056}, 100},
        {"150 %", {ZoomMode::Percent, 150}, 300, 300, 96, {1224, 1584}, 150},
        {"view too small", {ZoomMode::FitPage}, 0, 0, 96, {1, 1}, 0},
    };
    for (const Case &c : cases) {
        PixelSize size = PageSizeInView(c.zoom, c.viewW, c.viewH, c.dpi);
        EXPECT_EQ(size.width, c.size.width) << c.name;
        EXPECT_EQ(size.height, c.size.height) << c.name;
        EXPECT_EQ(ZoomPercent(c.zoom, c.viewW, c.viewH, c.dpi), c.percent) << c.name;
    }
    EXPECT_EQ(ScrollRange(1056, 500), 1056 + 24 - 500);
    EXPECT_EQ(ScrollRange(400, 500), 0);
}

TEST(PreviewLayout, ZoomGoesStepByStepFromWhatIsShown) {
    struct Case {
        int shown, direction, percent;
    } cases[] = {
        {52, 1, 75},  {52, -1, 50}, {100, 1, 150}, {100, -1, 75},  {104, -1, 100}, {400, 1, 400},
        {50, -1, 50}, {21, 1, 50},  {21, -1, 50},  {900, -1, 400}, {200, 1, 400},  {150, -1, 100},
    };
    for (const Case &c : cases) {
        Zoom zoom = ZoomStep(c.shown, c.direction);
        EXPECT_EQ(zoom.mode, ZoomMode::Percent);
        EXPECT_EQ(zoom.percent, c.percent) << c.shown << (c.direction > 0 ? " in" : " out");
    }
    EXPECT_EQ(ZoomLabel(75), "75 %");
}

TEST(PreviewLayout, ZoomKeepsTheCentreOfTheViewInPlace) {
    // view 500 px: its centre at 338 px into a 1000 px page; 676 px into the doubled page
    EXPECT_EQ(ScrollKeepingCentre(100, 500, 1000, 2000), 438);
    EXPECT_EQ(ScrollKeepingCentre(438, 500, 2000, 1000), 100);
}

TEST(PreviewLayout, WheelScrollsOnThroughThePages) {
    struct Case {
        const char *name;
        ViewPlace at;
        int delta, range, count;
        ViewPlace to;
    } cases[] = {
        {"down within the page", {1, 100}, -120, 500, 3, {1, 160}},
        {"down stops at the end first", {1, 480}, -120, 500, 3, {1, 500}},
        {"down from the end to the next top", {1, 500}, -120, 500, 3, {2, 0}},
        {"down at the last page's end", {2, 500}, -120, 500, 3, {2, 500}},
        {"up from the top to the previous end", {1, 0}, 120, 500, 3, {0, 500}},
        {"up at the first page's top", {0, 0}, 120, 500, 3, {0, 0}},
        {"up within the page", {1, 30}, 120, 500, 3, {1, 0}},
        {"whole page in view: a page a notch", {0, 0}, -120, 0, 3, {1, 0}},
        {"fine wheel", {0, 10}, -20, 500, 3, {0, 20}},
    };
    for (const Case &c : cases) {
        ViewPlace to = WheelPlace(c.at, c.delta, c.range, c.count);
        EXPECT_EQ(to.page, c.to.page) << c.name;
        EXPECT_EQ(to.scroll, c.to.scroll) << c.name;
    }
}

TEST(PreviewLayout, PrintCoversTheChosenPagesWithinTheDocument) {
    struct Case {
        bool chosen;
        int from, to, count;
        PageSpan span;
    } cases[] = {
        {false, 0, 0, 5, {0, 4}}, {true, 2, 3, 5, {1, 2}}, {true, 4, 4, 5, {3, 3}},
        {true, 0, 9, 5, {0, 4}},  {true, 5, 9, 5, {4, 4}},
    };
    for (const Case &c : cases) {
        PageSpan span = PagesToPrint(c.chosen, c.from, c.to, c.count);
        EXPECT_EQ(span.first, c.span.first) << c.from << "-" << c.to;
        EXPECT_EQ(span.last, c.span.last) << c.from << "-" << c.to;
    }
    EXPECT_EQ(PrintingLabel(1, 5), "Printing page 2 of 5");
}

TEST(PreviewLayout, PagingStaysWithinTheDocument) {
    struct Case {
        PageStep step;
        int current, count, next;
    } cases[] = {
        {PageStep::Next, 0, 3, 1},     {PageStep::Next, 2, 3, 2}, {PageStep::Previous, 0, 3, 0},
        {PageStep::Previous, 2, 3, 1}, {PageStep::Last, 0, 3, 2}, {PageStep::First, 2, 3, 0},
        {PageStep::Last, 0, 1, 0},     {PageStep::Next, 0, 1, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StepPage(c.step, c.current, c.count), c.next)
            << static_cast<int>(c.step) << " from " << c.current;
}

TEST(PreviewLayout, CaptionsAndFileNames) {
    EXPECT_EQ(PreviewCaption("Call Stats Report - 12-08-2026", true),
              "Call Stats Report - 12-08-2026 (stopped)");
    EXPECT_EQ(PreviewCaption("Call Stats", false), "Call Stats");
    EXPECT_EQ(PageLabel(1, 3), "Page 2 of 3");
    EXPECT_EQ(PdfFileName("Report on 555/123:45?"), "Report on 555-123-45-.pdf");
    EXPECT_EQ(PdfFileName(""), "Report.pdf");
    EXPECT_EQ(FiledPdfName("Call Stats Report - 12/08/2026", "2026-12-08 140309", 1),
              "Call Stats Report - 12-08-2026 2026-12-08 140309.pdf");
    EXPECT_EQ(FiledPdfName("Inbound", "2026-12-08 140309", 3), "Inbound 2026-12-08 140309 (3).pdf");
}

} // namespace
