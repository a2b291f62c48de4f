// PDF files as a reader sees them: poppler's text, page count, title and word boxes, and
// qpdf's structure check. Native only: the checkers are Linux programs.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <regex>
#include <string>

#include "pdf_streams_test.h"
#include "pdf_writer.h"

namespace {

std::string Shell(const std::string &command) {
    std::string out;
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return out;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    pclose(pipe);
    return out;
}

std::string ReadFile(const std::string &path) {
    return Shell("cat '" + path + "'");
}

class PdfFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        doc.title = "Inbound Call Log Report - 01-02-2026";
        doc.AddPage(7);
        doc.AddShape(ShapeItem{0.5, 0.5, 8.0, 0.8, 1, 0xFFFFFF, ShapeKind::Framed});
        Text(4.25, 0.56, Align::Centre, "Times New Roman", 12, false, "Centred");
        Text(8.0, 1.0, Align::Right, "Times New Roman", 12, true, "RightBold");
        Text(6.35, 1.5, Align::Right, "Courier New", 10, false, "12345");
        Text(7.2, 2.0, Align::Centre, "Arial", 10, false, "Middle");
        Text(0.5, 3.0, Align::Left, "Courier New", 10, false,
             "Caf\xE9 \x80"
             "5 (paren) back\\slash");
        doc.AddShape(ShapeItem{0.5, 1.26, 8.0, 1.26, 1, 0x969696, ShapeKind::Line});
        Text(0.5, 10.2, Align::Left, "Times New Roman", 8, false,
             "Store  Page ##pageno## of ##pagecount##", true);
        doc.AddPage(7);
        Text(0.5, 10.2, Align::Left, "Times New Roman", 8, false,
             "Page ##pageno## of ##pagecount##", true);
        path = ::testing::TempDir() + "prnview_pdf_test.pdf";
        Write();
    }
    void Text(float x, float y, Align align, const char *face, int points, bool bold,
              const char *text, bool special = false) {
        doc.AddText(x, y, align, doc.FontIndex(TextFont{face, points, bold, 0}), text, special);
    }
    void Write() {
        FILE *f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        ASSERT_TRUE(WritePdfAndClose(doc, f));
    }
    void TearDown() override { std::remove(path.c_str()); }

    // Word box from pdftotext -bbox: xMin, yMin, xMax, yMax in points from the top left.
    bool WordBox(const std::string &word, double box[4]) {
        std::string html = Shell("pdftotext -bbox '" + path + "' -");
        std::smatch m;
        std::regex re(
            "xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">" + word +
            "</word>");
        if (!std::regex_search(html, m, re))
            return false;
        for (int i = 0; i < 4; ++i)
            box[i] = std::stod(m[i + 1]);
        return true;
    }

    Document doc;
    std::string path;
};

TEST_F(PdfFileTest, QpdfFindsNoFault) {
    std::string out = Shell("qpdf --check '" + path + "'; echo exit=$?");
    EXPECT_NE(out.find("No syntax or stream encoding errors"), std::string::npos) << out;
    EXPECT_NE(out.find("exit=0"), std::string::npos) << out;
}

// The pages are compressed: their operators are there only once the streams are inflated.
TEST_F(PdfFileTest, PageStreamsAreCompressedAndInflateToTheirOperators) {
    const std::string pdf = ReadFile(path);
    EXPECT_EQ(pdf.find("Tj"), std::string::npos);
    EXPECT_NE(pdf.find("/Filter /FlateDecode"), std::string::npos);
    const std::string streams = InflatedStreams(pdf);
    EXPECT_EQ(streams.find("<not Flate>"), std::string::npos);
    for (const char *expected :
         {"1 w 0 0 0 RG 1 1 1 rg 36 734.4 540 21.6 re B\n", "BT /F1 12 Tf 0 0 0 rg 287.004 ",
          "\n/F2 12 Tf 236.316 -31.68 Td (RightBold) Tj\n",
          "(Caf\\351 \\2005 \\(paren\\) back\\\\slash) Tj\nET\n",
          "ET\n0.588 0.588 0.588 RG 36 701.28 m 576 701.28 l S\nBT /F1 8 Tf 36 50.471 Td (Store  "
          "Page 1 of 2) Tj",
          "(Page 2 of 2) Tj"})
        EXPECT_NE(streams.find(expected), std::string::npos) << expected << "\n" << streams;
}

// Titles are shown by readers in their own encoding: Windows-1252 beyond ASCII goes as UTF-16.
TEST_F(PdfFileTest, TitlesReadBackInUnicode) {
    struct Case {
        const char *title, *shown;
    } cases[] = {
        {"Caf\xE9 (1)", "Caf\xC3\xA9 (1)"},
        {"\x80 5 \x8E\x9Cuvre \x93quoted\x94",
         "\xE2\x82\xAC 5 \xC5\xBD\xC5\x93uvre \xE2\x80\x9Cquoted\xE2\x80\x9D"},
        {"Plain", "Plain"},
    };
    for (const Case &c : cases) {
        doc.title = c.title;
        Write();
        EXPECT_NE(
            Shell("pdfinfo '" + path + "'").find(std::string("Title:           ") + c.shown + "\n"),
            std::string::npos)
            << c.shown;
    }
    EXPECT_EQ(PdfTextString("Caf\xE9"), "<FEFF00430061006600E9>");
    EXPECT_EQ(PdfTextString("A (b)"), "(A \\(b\\))");
}

// A disk that is full: the write fails and says so, and stops at the first failure.
TEST_F(PdfFileTest, AWriteThatFailsIsReported) {
    FILE *full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    EXPECT_FALSE(WritePdfAndClose(doc, full));
}

TEST_F(PdfFileTest, InfoShowsLetterPagesAndTheTitle) {
    std::string out = Shell("pdfinfo '" + path + "'");
    EXPECT_NE(out.find("Pages:           2"), std::string::npos) << out;
    EXPECT_NE(out.find("612 x 792 pts (letter)"), std::string::npos) << out;
    EXPECT_NE(out.find("Title:           Inbound Call Log Report - 01-02-2026"), std::string::npos)
        << out;
}

TEST_F(PdfFileTest, TextReadsBackWithPageNumbersAndWindows1252) {
    std::string out = Shell("pdftotext -layout '" + path + "' -");
    for (const char *expected : {"Centred", "RightBold", "12345", "Middle",
                                 "Caf\xC3\xA9 \xE2\x82\xAC"
                                 "5 (paren) back\\slash",
                                 "Store Page 1 of 2", "Page 2 of 2"})
        EXPECT_NE(out.find(expected), std::string::npos) << expected << "\n" << out;
}

TEST_F(PdfFileTest, AlignedTextsEndAndCentreWhereAsked) {
    struct Case {
        const char *word;
        double x; // points
        Align align;
    } cases[] = {
        {"Centred", 4.25 * 72, Align::Centre},  {"RightBold", 8.0 * 72, Align::Right},
        {"12345", 6.35 * 72, Align::Right},     {"Middle", 7.2 * 72, Align::Centre},
        {"Caf\xC3\xA9", 0.5 * 72, Align::Left},
    };
    for (const Case &c : cases) {
        double box[4];
        ASSERT_TRUE(WordBox(c.word, box)) << c.word;
        double at = c.align == Align::Left    ? box[0]
                    : c.align == Align::Right ? box[2]
                                              : (box[0] + box[2]) / 2;
        EXPECT_NEAR(at, c.x, 0.5) << c.word;
    }
}

// y is the top of the text line, as on screen: the glyphs start just below it.
TEST_F(PdfFileTest, TextLinesHangFromTheirY) {
    struct Case {
        const char *word;
        double y, points;
    } cases[] = {{"Centred", 0.56, 12}, {"12345", 1.5, 10}, {"Middle", 2.0, 10}};
    for (const Case &c : cases) {
        double box[4];
        ASSERT_TRUE(WordBox(c.word, box)) << c.word;
        EXPECT_GE(box[1], c.y * 72) << c.word;
        EXPECT_LT(box[1], c.y * 72 + 0.3 * c.points) << c.word;
    }
}

// The mark goes to the last page's lowest text, even one drawn before a text above it.
TEST_F(PdfFileTest, StoppedDocumentSaysSoInTitleAndLastFooter) {
    doc.stopped = true;
    Text(0.5, 5.0, Align::Left, "Courier New", 10, false, "Drawn after the footer");
    Write();
    EXPECT_NE(Shell("pdfinfo '" + path + "'")
                  .find("Title:           Inbound Call Log Report - 01-02-2026 (stopped)"),
              std::string::npos);
    const std::string last = Shell("pdftotext -layout -f 2 -l 2 '" + path + "' -");
    EXPECT_NE(last.find("Page 2 of 2 (stopped)"), std::string::npos) << last;
    EXPECT_EQ(last.find("footer (stopped)"), std::string::npos) << last;
    const std::string first = Shell("pdftotext -layout -f 1 -l 1 '" + path + "' -");
    EXPECT_EQ(first.find("(stopped)"), std::string::npos) << first;
}

// A list document of `pages` pages: a frame, rows of texts and rules, and the page-number footer
// drawn where a report draws it (after the heading) or first or last on the page; from the
// third page on the rows use a font the document had not had before.
enum class FooterAt { AfterHeading, First, Last, None };

struct ListDocument {
    int pages;
    FooterAt footer;
    bool stopped;
    bool emptyPage; // the second page has nothing on it
};

Document MakeList(const ListDocument &shape, const std::function<void(Document &)> &pageDone) {
    Document doc;
    doc.title = "Ahead";
    doc.stopped = shape.stopped;
    const auto text = [&](float x, float y, Align align, const char *face, int points,
                          uint32_t colour, const std::string &value, bool special = false) {
        doc.AddText(x, y, align, doc.FontIndex(TextFont{face, points, false, colour}),
                    value.c_str(), special);
    };
    const auto footer = [&] {
        text(0.5f, 10.2f, Align::Left, "Times New Roman", 8, 0,
             "Bench  Page ##pageno## of ##pagecount##", true);
    };
    for (int p = 0; p < shape.pages; ++p) {
        doc.AddPage(7);
        if (p > 0)
            pageDone(doc);
        if (shape.emptyPage && p == 1)
            continue;
        if (shape.footer == FooterAt::First)
            footer();
        doc.AddShape(ShapeItem{0.5f, 0.5f, 8.0f, 0.8f, 1, 0xFFFFFF, ShapeKind::Framed});
        text(4.25f, 0.56f, Align::Centre, "Times New Roman", 12, 0, "Inbound Call Log");
        text(8.0f, 0.9f, Align::Right, "Courier New", 10, 0xFF0000, "Error");
        if (shape.footer == FooterAt::AfterHeading)
            footer();
        text(8.0f, 10.2f, Align::Right, "Times New Roman", 8, 0, "Printed on 12-31-2025");
        for (int row = 0; row < 10; ++row) {
            const float y = 1.3f + 0.2f * row;
            const char *face = p >= 2 ? "Arial" : "Courier New";
            text(0.5f, y, Align::Left, face, 10, 0, "12-31-2025");
            text(2.2f, y, Align::Left, face, 10, 0, "(555) 123-" + std::to_string(4000 + row));
            text(6.35f, y, Align::Right, face, 10, 0, std::to_string(row * 37));
            text(7.75f, y, Align::Centre, face, 10, 0, row % 3 ? "NO" : "YES");
            doc.AddShape(ShapeItem{0.5f, y + 0.16f, 8.0f, y + 0.16f, 1, 0x969696, ShapeKind::Line});
        }
        if (shape.footer == FooterAt::Last)
            footer();
    }
    return doc;
}

// Pages handed on as they are finished go to the file while the document grows: a reader must
// find exactly what it finds in the same document written whole.
TEST(PdfWrittenAhead, ReadsLikeTheSameDocumentWrittenWhole) {
    const struct Case {
        const char *name;
        ListDocument shape;
    } cases[] = {
        {"report", {6, FooterAt::AfterHeading, false, false}},
        {"stopped", {4, FooterAt::AfterHeading, true, false}},
        {"footer first", {3, FooterAt::First, false, false}},
        {"footer last, an empty page", {3, FooterAt::Last, false, true}},
        {"no page numbers", {3, FooterAt::None, true, false}},
        {"one page", {1, FooterAt::AfterHeading, false, false}},
    };
    const std::string ahead = ::testing::TempDir() + "prnview_ahead.pdf",
                      whole = ::testing::TempDir() + "prnview_whole.pdf";
    for (const Case &c : cases) {
        FILE *f = std::fopen(ahead.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        PdfWriter writer(f);
        const Document doc =
            MakeList(c.shape, [&](Document &d) { writer.PagesDone(d, d.pages.size() - 2); });
        ASSERT_TRUE(FinishPdfAndClose(writer, doc, f)) << c.name;
        f = std::fopen(whole.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        ASSERT_TRUE(WritePdfAndClose(doc, f)) << c.name;

        const std::string check = Shell("qpdf --check '" + ahead + "'; echo exit=$?");
        EXPECT_NE(check.find("No syntax or stream encoding errors"), std::string::npos)
            << c.name << "\n"
            << check;
        EXPECT_NE(check.find("exit=0"), std::string::npos) << c.name;
        for (const char *reader : {"pdftotext -bbox", "pdftotext -layout", "pdfinfo"})
            EXPECT_EQ(Shell(std::string(reader) + " '" + ahead + "' -"),
                      Shell(std::string(reader) + " '" + whole + "' -"))
                << c.name << ": " << reader;
        const std::string text = Shell("pdftotext -layout '" + ahead + "' -");
        if (c.shape.footer != FooterAt::None)
            for (int p = 1; p <= c.shape.pages; ++p) {
                if (c.shape.emptyPage && p == 2)
                    continue;
                const std::string number =
                    "Page " + std::to_string(p) + " of " + std::to_string(c.shape.pages);
                EXPECT_NE(text.find(number), std::string::npos) << c.name << ": " << number;
            }
        EXPECT_EQ(text.find("(stopped)") != std::string::npos, c.shape.stopped) << c.name;
    }
    std::remove(ahead.c_str());
    std::remove(whole.c_str());
}

} // namespace
