// The PDF renderer: one compressed content stream per page, objects counted and their offsets
// kept as they are written.
#include "pdf_writer.h"

#include <zlib.h>

#include <cstdint>
#include <new>
#include <string_view>
#include <vector>

#include "font_metrics.h"
#include "preview_layout.h"

namespace {

// Digits of `value` (at least one) written backwards from `end`; returns where they start.
char *DigitsBefore(char *end, uint64_t value) {
    do {
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return end;
}

// Thousandths of `value`, halves away from zero: the unit every number of a page is written in.
// In 32 bits where it fits, which every coordinate the engine accepts does, since a conversion
// to 64 bits is slow on 32-bit x86.
long long Milli(double value) {
    const double scaled = value * 1000 + (value < 0 ? -0.5 : 0.5);
    if (scaled > -2147483647.0 && scaled < 2147483647.0)
        return static_cast<int32_t>(scaled);
    return static_cast<long long>(scaled);
}

// Fixed three decimals of thousandths, trailing zeros dropped, whatever the C locale of the host
// says a decimal point is; digits by hand, as every text and shape writes a few.
void PutMilli(std::string &out, long long milli) {
    const uint64_t magnitude =
        milli < 0 ? 0ULL - static_cast<uint64_t>(milli) : static_cast<uint64_t>(milli);
    char text[32];
    char *const end = text + sizeof text;
    char *start = end;
    uint32_t frac = static_cast<uint32_t>(magnitude % 1000);
    if (frac != 0) {
        int digits = 3;
        for (; frac % 10 == 0; frac /= 10)
            --digits;
        for (int i = 0; i < digits; ++i, frac /= 10)
            *--start = static_cast<char>('0' + frac % 10);
        *--start = '.';
    }
    start = DigitsBefore(start, magnitude / 1000);
    if (milli < 0)
        *--start = '-';
    out.append(start, end);
}

void PutNum(std::string &out, double value) {
    PutMilli(out, Milli(value));
}

bool NeedsEscape(unsigned char c) {
    return c == '(' || c == ')' || c == '\\' || c < 0x20 || c >= 0x7F;
}

void PutPdfString(std::string &out, std::string_view text) {
    out += '(';
    size_t plain = 0;
    while (plain < text.size() && !NeedsEscape(static_cast<unsigned char>(text[plain])))
        ++plain;
    // Most texts need no escape at all: they go in at once.
    out.append(text.data(), plain);
    for (unsigned char c : text.substr(plain)) {
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            out += '\\';
            out += static_cast<char>('0' + (c >> 6));
            out += static_cast<char>('0' + ((c >> 3) & 7));
            out += static_cast<char>('0' + (c & 7));
        } else {
            out += static_cast<char>(c);
        }
    }
    out += ')';
}

double PdfX(double inches) {
    return inches * 72;
}
double PdfY(double inches) {
    return (kPageHeightInches - inches) * 72;
}

void PutRgb(std::string &out, uint32_t colour, const char *op) {
    for (uint8_t part : {RedOf(colour), GreenOf(colour), BlueOf(colour)}) {
        PutNum(out, part / 255.0);
        out += ' ';
    }
    out += op;
    out += ' ';
}

void PutPoint(std::string &out, double x, double y) {
    PutNum(out, PdfX(x));
    out += ' ';
    PutNum(out, PdfY(y));
    out += ' ';
}

void PutRectPath(std::string &out, const ShapeItem &r) {
    double left = r.x1 < r.x2 ? r.x1 : r.x2, top = r.y1 < r.y2 ? r.y1 : r.y2;
    double w = r.x2 > r.x1 ? r.x2 - r.x1 : r.x1 - r.x2, h = r.y2 > r.y1 ? r.y2 - r.y1 : r.y1 - r.y2;
    PutPoint(out, left, top + h);
    PutNum(out, w * 72);
    out += ' ';
    PutNum(out, h * 72);
    out += " re ";
}

void PutLineWidth(std::string &out, double width) {
    PutNum(out, width);
    out += " w ";
}

// What a stopped document adds to its title and its last page's footer, so a filed PDF cannot
// pass for the whole report.
constexpr const char *kStoppedMark = " (stopped)";
constexpr size_t kNoText = static_cast<size_t>(-1);

// The footer of a page: its lowest text, the last drawn of those at the same height.
size_t FooterOf(const Page &page) {
    size_t footer = kNoText;
    for (size_t i = 0; i < page.texts.size(); ++i)
        if (footer == kNoText || page.texts[i].y >= page.texts[footer].y)
            footer = i;
    return footer;
}

// What a shape's drawing begins with: its pen's width and colours, the same for every row's rule.
std::string PenPrefix(const ShapeItem &s) {
    std::string out = "q ";
    switch (s.kind) {
    case ShapeKind::Line:
    case ShapeKind::Outline:
        PutLineWidth(out, s.width);
        PutRgb(out, s.colour, "RG");
        break;
    case ShapeKind::Framed:
        PutLineWidth(out, s.width);
        out += "0 0 0 RG ";
        PutRgb(out, s.colour, "rg");
        break;
    case ShapeKind::Solid:
        PutRgb(out, s.colour, "rg");
        break;
    }
    return out;
}

// The content stream of one page at a time, in one buffer kept from page to page.
class ContentWriter {
  public:
    explicit ContentWriter(const Document &doc) : doc_(doc) {
        for (const TextFont &f : doc.fonts) {
            const StandardFont font = StandardFontFor(f.face, f.bold);
            standard_.push_back(font);
            ascent_.push_back(AscentEm(font) * f.points / 72);
        }
    }

    const std::string &Page(size_t index, size_t marked) {
        out_.clear();
        setFont_ = kNoneSet;
        setFill_ = kNoneSet;
        ForEachItem(
            doc_, index, [&](size_t text) { Text(index, text, text == marked); },
            [&](const ShapeItem &shape) { Shape(shape); });
        EndText();
        return out_;
    }

  private:
    void Text(size_t pageIndex, size_t textIndex, bool marked) {
        const TextItem &t = doc_.pages[pageIndex].texts[textIndex];
        const TextFont &f = doc_.fonts[t.font];
        const StandardFont font = standard_[t.font];
        // Only page numbers and the stopped mark need a copy: a plain text is written from the
        // page's own characters.
        std::string shown;
        std::string_view text = doc_.pages[pageIndex].TextOf(textIndex);
        if (t.special || marked) {
            shown = doc_.ShownText(pageIndex, textIndex) + (marked ? kStoppedMark : "");
            text = shown;
        }
        double left = t.x;
        if (t.align != Align::Left)
            left = AlignedLeft(t.x, TextWidthPoints(font, f.points, text) / 72, t.align);
        // Texts in a row share one text object: each is placed from the one before, by the
        // difference of their positions as whole thousandths, so it lands exactly where it
        // would on its own, and a list's row costs little more than its characters.
        const long long x = Milli(PdfX(left)), y = Milli(PdfY(t.y + ascent_[t.font]));
        if (!inText_)
            out_ += "BT ";
        // Font and fill colour stay set from one text to the next (a shape's q and Q keep its
        // own changes to itself), and a list repeats the same few.
        if (t.font != setFont_) {
            out_ += "/F";
            out_ += std::to_string(font + 1);
            out_ += ' ';
            out_ += std::to_string(f.points);
            out_ += " Tf ";
            setFont_ = t.font;
        }
        if (f.colour != setFill_) {
            PutRgb(out_, f.colour, "rg");
            setFill_ = f.colour;
        }
        PutMilli(out_, inText_ ? x - lineX_ : x);
        out_ += ' ';
        PutMilli(out_, inText_ ? y - lineY_ : y);
        out_ += " Td ";
        PutPdfString(out_, text);
        out_ += " Tj\n";
        inText_ = true;
        lineX_ = x;
        lineY_ = y;
    }
    void EndText() {
        if (inText_)
            out_ += "ET\n";
        inText_ = false;
    }
    void Shape(const ShapeItem &s) {
        EndText();
        const ShapePen pen{s.width, s.colour, s.kind};
        if (penText_.empty() || !(pen == lastPen_)) {
            penText_ = PenPrefix(s);
            lastPen_ = pen;
        }
        out_ += penText_;
        switch (s.kind) {
        case ShapeKind::Line:
            PutPoint(out_, s.x1, s.y1);
            out_ += "m ";
            PutPoint(out_, s.x2, s.y2);
            out_ += "l S";
            break;
        case ShapeKind::Framed:
            PutRectPath(out_, s);
            out_ += "B";
            break;
        case ShapeKind::Solid:
            PutRectPath(out_, s);
            out_ += "f";
            break;
        case ShapeKind::Outline:
            PutRectPath(out_, s);
            out_ += "S";
            break;
        }
        out_ += " Q\n";
    }

    // Each page's stream starts from the default state; no font or colour has this value.
    static constexpr uint32_t kNoneSet = 0xFFFFFFFF;

    const Document &doc_;
    std::vector<StandardFont> standard_; // by font table index
    std::vector<double> ascent_;         // inches from a text's top to its baseline, by font
    uint32_t setFont_ = kNoneSet;
    uint32_t setFill_ = kNoneSet;
    bool inText_ = false;             // a text object is open
    long long lineX_ = 0, lineY_ = 0; // where its last text was placed, in thousandths
    ShapePen lastPen_{};
    std::string penText_;
    std::string out_;
};

// Report pages repeat the same few operators and columns: the fastest level packs a list page
// to about a sixth, and the higher ones, several times slower, save little more.
constexpr int kCompression = Z_BEST_SPEED;

// The file as it is written: what went out so far counts the offsets of the objects, and the
// first write that fails is remembered, after which nothing more is sent.
class PdfFile {
  public:
    explicit PdfFile(std::FILE *file) : file_(file) {
        if (deflateInit(&deflater_, kCompression) != Z_OK)
            throw std::bad_alloc();
        Put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    }
    ~PdfFile() { deflateEnd(&deflater_); }
    PdfFile(const PdfFile &) = delete;
    PdfFile &operator=(const PdfFile &) = delete;

    bool Ok() const { return ok_; }
    void Put(std::string_view bytes) {
        if (ok_ && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
            ok_ = false;
        written_ += bytes.size();
    }
    // Objects are numbered in the order they are begun, from 1.
    int Begin() {
        offsets_.push_back(written_);
        int number = static_cast<int>(offsets_.size());
        Put(std::to_string(number) + " 0 obj\n");
        return number;
    }
    void End() { Put("\nendobj\n"); }
    int Add(const std::string &body) {
        int number = Begin();
        Put(body);
        End();
        return number;
    }
    int AddCompressedStream(const std::string &data) {
        const size_t size = Deflate(data);
        int number = Begin();
        Put("<< /Length " + std::to_string(size) + " /Filter /FlateDecode >>\nstream\n");
        Put(std::string_view(packed_.data(), size));
        Put("\nendstream");
        End();
        return number;
    }
    void Finish(int root, int info) {
        uint64_t xref = written_;
        Put("xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n");
        for (uint64_t offset : offsets_) {
            char entry[24];
            std::snprintf(entry, sizeof entry, "%010llu 00000 n \n",
                          static_cast<unsigned long long>(offset));
            Put(entry);
        }
        Put("trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root " +
            std::to_string(root) + " 0 R /Info " + std::to_string(info) + " 0 R >>\nstartxref\n" +
            std::to_string(xref) + "\n%%EOF\n");
    }

  private:
    // One compressor for every page: setting one up for each would take and clear its few
    // hundred kilobytes of tables page after page.
    size_t Deflate(const std::string &data) {
        deflateReset(&deflater_);
        packed_.resize(deflateBound(&deflater_, static_cast<uLong>(data.size())));
        deflater_.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
        deflater_.avail_in = static_cast<uInt>(data.size());
        deflater_.next_out = reinterpret_cast<Bytef *>(&packed_[0]);
        deflater_.avail_out = static_cast<uInt>(packed_.size());
        // With room for the bound, one call compresses it all.
        if (deflate(&deflater_, Z_FINISH) != Z_STREAM_END)
            throw std::bad_alloc();
        return packed_.size() - deflater_.avail_out;
    }

    z_stream deflater_{};
    std::FILE *file_;
    bool ok_ = true;
    uint64_t written_ = 0;
    std::vector<uint64_t> offsets_;
    std::string packed_;
};

// Fonts take objects 1 to 6 so /F1../F6 follow the StandardFont order; the page tree comes
// next and its kids are known numbers, since each page is its stream and then itself.
int AddPageTree(PdfFile &pdf, size_t pageCount) {
    std::string fontDict;
    for (int f = 0; f < kStandardFontCount; ++f) {
        int number =
            pdf.Add(std::string("<< /Type /Font /Subtype /Type1 /BaseFont /") +
                    PdfFontName(static_cast<StandardFont>(f)) + " /Encoding /WinAnsiEncoding >>");
        fontDict += "/F" + std::to_string(f + 1) + " " + std::to_string(number) + " 0 R ";
    }
    const int pagesObject = pdf.Begin();
    pdf.Put("<< /Type /Pages /Count " + std::to_string(pageCount) + " /Kids [");
    for (size_t i = 0; i < pageCount && pdf.Ok(); ++i)
        pdf.Put(std::to_string(pagesObject + 2 + 2 * i) + " 0 R ");
    pdf.Put("] /MediaBox [0 0 612 792] /Resources << /Font << " + fontDict + ">> >> >>");
    pdf.End();
    return pagesObject;
}

// Windows-1252 0x80 to 0x9F in Unicode; the codes with no character are blanks, as everywhere
// else in the engine.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0020, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x0020, 0x017D, 0x0020, 0x0020, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0020, 0x017E, 0x0178};

uint16_t UnicodeOf(unsigned char c) {
    return c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : c;
}

} // namespace

std::string PdfString(const std::string &text) {
    std::string out;
    PutPdfString(out, text);
    return out;
}

std::string PdfTextString(const std::string &text) {
    bool ascii = true;
    for (unsigned char c : text)
        ascii = ascii && c >= 0x20 && c < 0x7F;
    if (ascii)
        return PdfString(text);
    std::string out = "<FEFF";
    for (unsigned char c : text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%04X", UnicodeOf(c));
        out += hex;
    }
    return out + ">";
}

bool WritePdf(const Document &doc, std::FILE *file) {
    PdfFile pdf(file);
    const int pagesObject = AddPageTree(pdf, doc.pages.size());
    ContentWriter content(doc);
    for (size_t i = 0; i < doc.pages.size() && pdf.Ok(); ++i) {
        const bool last = i + 1 == doc.pages.size();
        const size_t marked = doc.stopped && last ? FooterOf(doc.pages[i]) : kNoText;
        int stream = pdf.AddCompressedStream(content.Page(i, marked));
        pdf.Add("<< /Type /Page /Parent " + std::to_string(pagesObject) + " 0 R /Contents " +
                std::to_string(stream) + " 0 R >>");
    }
    int root = pdf.Add("<< /Type /Catalog /Pages " + std::to_string(pagesObject) + " 0 R >>");
    const std::string title = doc.stopped ? doc.title + kStoppedMark : doc.title;
    int info = pdf.Add("<< /Title " + PdfTextString(title) + " /Producer (PRNVIEW32) >>");
    pdf.Finish(root, info);
    return pdf.Ok();
}

bool WritePdfAndClose(const Document &doc, std::FILE *file) {
    bool written = false;
    try {
        written = WritePdf(doc, file);
    } catch (const std::bad_alloc &) {
    }
    // Flushed before closing: Wine's fclose reports success when its own flush failed.
    written = std::fflush(file) == 0 && written;
    return std::fclose(file) == 0 && written;
}

std::string FiledPdfName(const std::string &title, const std::string &stamp, int copy) {
    const std::string taken = copy > 1 ? " (" + std::to_string(copy) + ")" : "";
    return PdfFileName(title + " " + stamp + taken);
}
