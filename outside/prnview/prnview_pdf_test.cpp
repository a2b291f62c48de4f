// PDF files as a reader sees them: poppler's text, page count, title and word boxes, and
// qpdf's structure check. Native only: the checkers are Linux programs.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

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

TextItem Text(double x, double y, Align align, const char *face, int points, bool bold,
              const char *text, bool special = false) {
    return TextItem{x, y, align, TextFont{face, points, bold, 0}, text, special};
}

class PdfFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        doc.title = "Inbound Call Log Report - 01-02-2026";
        Page first;
        first.items = {
            RectItem{0.5, 0.5, 8.0, 0.8, 1, 0xFFFFFF, RectFill::Framed},
            Text(4.25, 0.56, Align::Centre, "Times New Roman", 12, false, "Centred"),
            Text(8.0, 1.0, Align::Right, "Times New Roman", 12, true, "RightBold"),
            Text(6.35, 1.5, Align::Right, "Courier New", 10, false, "12345"),
            Text(7.2, 2.0, Align::Centre, "Arial", 10, false, "Middle"),
            Text(0.5, 3.0, Align::Left, "Courier New", 10, false,
                 "Caf\xE9 \x80"
                 "5 (paren) back\\slash"),
            LineItem{0.5, 1.26, 8.0, 1.26, 1, 0x969696},
            Text(0.5, 10.2, Align::Left, "Times New Roman", 8, false,
                 "Store  Page ##pageno## of ##pagecount##", true),
        };
        Page second;
        second.items = {Text(0.5, 10.2, Align::Left, "Times New Roman", 8, false,
                             "Page ##pageno## of ##pagecount##", true)};
        doc.pages = {first, second};
        path = ::testing::TempDir() + "prnview_pdf_test.pdf";
        Write();
    }
    void Write() {
        FILE *f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::string bytes = PdfBytes(doc);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
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
    doc.pages.back().items.push_back(
        Text(0.5, 5.0, Align::Left, "Courier New", 10, false, "Drawn after the footer"));
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

} // namespace
