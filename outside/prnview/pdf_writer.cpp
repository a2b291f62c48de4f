// The PDF renderer: one content stream per page, objects counted as they are written.
#include "pdf_writer.h"

#include <cstdint>
#include <cstdio>

#include "font_metrics.h"
#include "preview_layout.h"

namespace {

// Fixed three decimals whatever the C locale of the host says a decimal point is.
std::string Num(double value) {
    long long milli = static_cast<long long>(value * 1000 + (value < 0 ? -0.5 : 0.5));
    std::string sign = milli < 0 ? "-" : "";
    if (milli < 0)
        milli = -milli;
    char frac[8];
    std::snprintf(frac, sizeof frac, "%03lld", milli % 1000);
    std::string out = sign + std::to_string(milli / 1000);
    std::string digits = frac;
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    return digits.empty() ? out : out + "." + digits;
}

double PdfX(double inches) {
    return inches * 72;
}
double PdfY(double inches) {
    return (kPageHeightInches - inches) * 72;
}

std::string Rgb(uint32_t colour) {
    return Num(RedOf(colour) / 255.0) + " " + Num(GreenOf(colour) / 255.0) + " " +
           Num(BlueOf(colour) / 255.0);
}

std::string RectPath(const RectItem &r) {
    double left = r.x1 < r.x2 ? r.x1 : r.x2, top = r.y1 < r.y2 ? r.y1 : r.y2;
    double w = r.x2 > r.x1 ? r.x2 - r.x1 : r.x1 - r.x2, h = r.y2 > r.y1 ? r.y2 - r.y1 : r.y1 - r.y2;
    return Num(PdfX(left)) + " " + Num(PdfY(top + h)) + " " + Num(w * 72) + " " + Num(h * 72) +
           " re ";
}

// What a stopped document adds to its title and its last page's footer, so a filed PDF cannot
// pass for the whole report.
constexpr const char *kStoppedMark = " (stopped)";

// The footer of a page: its lowest text, the last drawn of those at the same height.
const TextItem *FooterOf(const Page &page) {
    const TextItem *footer = nullptr;
    for (const PageItem &item : page.items) {
        const TextItem *text = std::get_if<TextItem>(&item);
        if (text && (!footer || text->y >= footer->y))
            footer = text;
    }
    return footer;
}

struct ContentWriter {
    const Document &doc;
    size_t pageIndex;
    const TextItem *marked; // the footer that carries the stopped mark, if any
    std::string out;

    void operator()(const TextItem &t) {
        StandardFont font = StandardFontFor(t.font.face, t.font.bold);
        std::string text = doc.ShownText(t, pageIndex);
        if (&t == marked)
            text += kStoppedMark;
        double width = TextWidthPoints(font, t.font.points, text) / 72;
        double left = AlignedLeft(t.x, width, t.align);
        double baseline = t.y + AscentEm(font) * t.font.points / 72;
        out += "BT /F" + std::to_string(font + 1) + " " + std::to_string(t.font.points) + " Tf " +
               Rgb(t.font.colour) + " rg " + Num(PdfX(left)) + " " + Num(PdfY(baseline)) + " Td " +
               PdfString(text) + " Tj ET\n";
    }
    void operator()(const LineItem &l) {
        out += "q " + Num(l.width) + " w " + Rgb(l.colour) + " RG " + Num(PdfX(l.x1)) + " " +
               Num(PdfY(l.y1)) + " m " + Num(PdfX(l.x2)) + " " + Num(PdfY(l.y2)) + " l S Q\n";
    }
    void operator()(const RectItem &r) {
        switch (r.fill) {
        case RectFill::Framed:
            out += "q " + Num(r.width) + " w 0 0 0 RG " + Rgb(r.colour) + " rg " + RectPath(r) +
                   "B Q\n";
            break;
        case RectFill::Solid:
            out += "q " + Rgb(r.colour) + " rg " + RectPath(r) + "f Q\n";
            break;
        case RectFill::Outline:
            out += "q " + Num(r.width) + " w " + Rgb(r.colour) + " RG " + RectPath(r) + "S Q\n";
            break;
        }
    }
};

class PdfFile {
  public:
    PdfFile() { bytes_ = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n"; }

    // Objects are numbered in the order they are written, from 1.
    int Add(const std::string &body) {
        offsets_.push_back(bytes_.size());
        int number = static_cast<int>(offsets_.size());
        bytes_ += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
        return number;
    }
    int AddStream(const std::string &data) {
        return Add("<< /Length " + std::to_string(data.size()) + " >>\nstream\n" + data +
                   "\nendstream");
    }
    std::string Finish(int root, int info) {
        size_t xref = bytes_.size();
        bytes_ += "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
        for (size_t offset : offsets_) {
            char entry[24];
            std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
            bytes_ += entry;
        }
        bytes_ += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root " +
                  std::to_string(root) + " 0 R /Info " + std::to_string(info) +
                  " 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        return bytes_;
    }

  private:
    std::string bytes_;
    std::vector<size_t> offsets_;
};

} // namespace

std::string PdfString(const std::string &text) {
    std::string out = "(";
    for (unsigned char c : text) {
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\%03o", c);
            out += esc;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + ")";
}

std::string PdfBytes(const Document &doc) {
    PdfFile pdf;
    // Fonts take objects 1 to 6 so /F1../F6 follow the StandardFont order; the page tree comes
    // next and its kids are known numbers, since each page is its stream and then itself.
    std::string fontDict;
    for (int f = 0; f < kStandardFontCount; ++f) {
        int number =
            pdf.Add(std::string("<< /Type /Font /Subtype /Type1 /BaseFont /") +
                    PdfFontName(static_cast<StandardFont>(f)) + " /Encoding /WinAnsiEncoding >>");
        fontDict += "/F" + std::to_string(f + 1) + " " + std::to_string(number) + " 0 R ";
    }
    const int pagesObject = kStandardFontCount + 1;
    std::string kids;
    for (size_t i = 0; i < doc.pages.size(); ++i)
        kids += std::to_string(pagesObject + 2 + 2 * i) + " 0 R ";
    pdf.Add("<< /Type /Pages /Count " + std::to_string(doc.pages.size()) + " /Kids [" + kids +
            "] /MediaBox [0 0 612 792] /Resources << /Font << " + fontDict + ">> >> >>");
    for (size_t i = 0; i < doc.pages.size(); ++i) {
        const bool last = i + 1 == doc.pages.size();
        ContentWriter content{doc, i, doc.stopped && last ? FooterOf(doc.pages[i]) : nullptr, {}};
        for (const PageItem &item : doc.pages[i].items)
            std::visit(content, item);
        int stream = pdf.AddStream(content.out);
        pdf.Add("<< /Type /Page /Parent " + std::to_string(pagesObject) + " 0 R /Contents " +
                std::to_string(stream) + " 0 R >>");
    }
    int root = pdf.Add("<< /Type /Catalog /Pages " + std::to_string(pagesObject) + " 0 R >>");
    const std::string title = doc.stopped ? doc.title + kStoppedMark : doc.title;
    int info = pdf.Add("<< /Title " + PdfString(title) + " /Producer (PRNVIEW32) >>");
    return pdf.Finish(root, info);
}

std::string FiledPdfName(const std::string &title, const std::string &stamp, int copy) {
    const std::string taken = copy > 1 ? " (" + std::to_string(copy) + ")" : "";
    return PdfFileName(title + " " + stamp + taken);
}
