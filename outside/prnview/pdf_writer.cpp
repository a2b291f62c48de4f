// The PDF renderer: one compressed content stream per page, objects counted and their offsets
// kept as they are written.
#include "pdf_writer.h"

#include <zlib.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <new>
#include <string_view>
#include <system_error>
#include <thread>
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

// The font and pen tables as a page's content needs them, in a copy brought up to date from the
// document's: the tables only grow, so a page written on another thread finds every entry it
// refers to without reading the document while the document grows.
struct ContentTables {
    std::vector<TextFont> fonts;
    std::vector<StandardFont> standard; // by font table index
    std::vector<double> ascent;         // inches from a text's top to its baseline, by font
    std::vector<ShapePen> pens;

    void CatchUp(const std::vector<TextFont> &newFonts, const std::vector<ShapePen> &newPens) {
        for (size_t i = fonts.size(); i < newFonts.size(); ++i) {
            const TextFont &f = newFonts[i];
            const StandardFont font = StandardFontFor(f.face, f.bold);
            fonts.push_back(f);
            standard.push_back(font);
            ascent.push_back(AscentEm(font) * f.points / 72);
        }
        pens.insert(pens.end(), newPens.begin() + static_cast<std::ptrdiff_t>(pens.size()),
                    newPens.end());
    }
};

// A content stream, in one buffer kept from stream to stream.
class ContentWriter {
  public:
    explicit ContentWriter(const ContentTables &tables) : tables_(tables) {}

    // Each stream starts from the default state, whatever a stream before it on its page set.
    void Start() {
        out_.clear();
        setFont_ = kNoneSet;
        setFill_ = kNoneSet;
        setStroke_ = kNoneSet;
        setWidth_ = -1;
        inText_ = false;
    }
    void Text(const TextItem &t, std::string_view text) {
        const TextFont &f = tables_.fonts[t.font];
        const StandardFont font = tables_.standard[t.font];
        double left = t.x;
        if (t.align != Align::Left)
            left = AlignedLeft(t.x, TextWidthPoints(font, f.points, text) / 72, t.align);
        // Texts in a row share one text object: each is placed from the one before, by the
        // difference of their positions as whole thousandths, so it lands exactly where it
        // would on its own, and a list's row costs little more than its characters.
        const long long x = Milli(PdfX(left)), y = Milli(PdfY(t.y + tables_.ascent[t.font]));
        if (!inText_)
            out_ += "BT ";
        // Font and fill colour stay set from one text to the next, and a list repeats the same
        // few.
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
    void Shape(const ShapeItem &s) {
        EndText();
        // The pen stays set from one shape to the next like the font, so a list's rules all
        // draw with one; a text's fill colour is the rectangles' fill colour too.
        if (s.kind != ShapeKind::Solid) {
            if (s.width != setWidth_) {
                PutLineWidth(out_, s.width);
                setWidth_ = s.width;
            }
            const uint32_t stroke = s.kind == ShapeKind::Framed ? 0 : s.colour;
            if (stroke != setStroke_) {
                PutRgb(out_, stroke, "RG");
                setStroke_ = stroke;
            }
        }
        if ((s.kind == ShapeKind::Framed || s.kind == ShapeKind::Solid) && s.colour != setFill_) {
            PutRgb(out_, s.colour, "rg");
            setFill_ = s.colour;
        }
        switch (s.kind) {
        case ShapeKind::Line:
            PutPoint(out_, s.x1, s.y1);
            out_ += "m ";
            PutPoint(out_, s.x2, s.y2);
            out_ += "l S\n";
            break;
        case ShapeKind::Framed:
            PutRectPath(out_, s);
            out_ += "B\n";
            break;
        case ShapeKind::Solid:
            PutRectPath(out_, s);
            out_ += "f\n";
            break;
        case ShapeKind::Outline:
            PutRectPath(out_, s);
            out_ += "S\n";
            break;
        }
    }
    const std::string &Content() {
        EndText();
        return out_;
    }

  private:
    void EndText() {
        if (inText_)
            out_ += "ET\n";
        inText_ = false;
    }

    // No font or colour has this value.
    static constexpr uint32_t kNoneSet = 0xFFFFFFFF;

    const ContentTables &tables_;
    uint32_t setFont_ = kNoneSet;
    uint32_t setFill_ = kNoneSet;
    uint32_t setStroke_ = kNoneSet;
    float setWidth_ = -1;             // no pen is this thin
    bool inText_ = false;             // a text object is open
    long long lineX_ = 0, lineY_ = 0; // where its last text was placed, in thousandths
    std::string out_;
};

// Report pages repeat the same few operators and columns: the fastest level packs a list page
// to about a sixth, and the higher ones, several times slower, save little more.
constexpr int kCompression = Z_BEST_SPEED;
// The compressor clears its hash (64 KB) for every stream, and a page written ahead has three or
// more: the small ones (a heading, a page number) go through one whose hash is 1 KB and packs
// them to the same bytes.
constexpr int kSmallHashLevel = 2;
constexpr size_t kSmallStream = 2048;

// The file as it is written: what went out so far counts the offsets of the objects, and the
// first write that fails is remembered, after which nothing more is sent.
class PdfFile {
  public:
    explicit PdfFile(std::FILE *file) : file_(file) {
        if (deflateInit(&deflater_, kCompression) != Z_OK)
            throw std::bad_alloc();
        if (deflateInit2(&small_, kCompression, Z_DEFLATED, MAX_WBITS, kSmallHashLevel,
                         Z_DEFAULT_STRATEGY) != Z_OK) {
            deflateEnd(&deflater_);
            throw std::bad_alloc();
        }
        Put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    }
    ~PdfFile() {
        deflateEnd(&deflater_);
        deflateEnd(&small_);
    }
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
    int AddCompressedStream(std::string_view data) {
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
    size_t Deflate(std::string_view data) {
        z_stream &z = data.size() < kSmallStream ? small_ : deflater_;
        deflateReset(&z);
        packed_.resize(deflateBound(&z, static_cast<uLong>(data.size())));
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
        z.avail_in = static_cast<uInt>(data.size());
        z.next_out = reinterpret_cast<Bytef *>(&packed_[0]);
        z.avail_out = static_cast<uInt>(packed_.size());
        // With room for the bound, one call compresses it all.
        if (deflate(&z, Z_FINISH) != Z_STREAM_END)
            throw std::bad_alloc();
        return packed_.size() - z.avail_out;
    }

    z_stream deflater_{};
    z_stream small_{};
    std::FILE *file_;
    bool ok_ = true;
    uint64_t written_ = 0;
    std::vector<uint64_t> offsets_;
    std::string packed_;
};

// Fonts take objects 1 to 6 so /F1../F6 follow the StandardFont order; returns the resources'
// font dictionary.
std::string AddFonts(PdfFile &pdf) {
    std::string fontDict;
    for (int f = 0; f < kStandardFontCount; ++f) {
        int number =
            pdf.Add(std::string("<< /Type /Font /Subtype /Type1 /BaseFont /") +
                    PdfFontName(static_cast<StandardFont>(f)) + " /Encoding /WinAnsiEncoding >>");
        fontDict += "/F" + std::to_string(f + 1) + " " + std::to_string(number) + " 0 R ";
    }
    return fontDict;
}

// A page's content streams in drawing order: object numbers, and below 0 (-1 - index) a
// page-number text still to be written.
using ContentPlan = std::vector<int32_t>;

int32_t Deferred(size_t text) {
    return -1 - static_cast<int32_t>(text);
}
size_t DeferredText(int32_t part) {
    return static_cast<size_t>(-1 - part);
}

// A page whose texts need the page count: everything but those texts goes out now, in streams
// between them, so drawing keeps its order once they are written in their places.
ContentPlan WriteAhead(PdfFile &pdf, ContentWriter &content, const ContentTables &tables,
                       const Page &page) {
    ContentPlan plan;
    content.Start();
    const auto flush = [&] {
        const std::string &made = content.Content();
        if (!made.empty())
            plan.push_back(pdf.AddCompressedStream(made));
        content.Start();
    };
    ForEachItemOf(
        page, tables.pens,
        [&](size_t text) {
            if (page.texts[text].special) {
                flush();
                plan.push_back(Deferred(text));
            } else {
                content.Text(page.texts[text], page.TextOf(text));
            }
        },
        [&](const ShapeItem &shape) { content.Shape(shape); });
    flush();
    if (plan.empty())
        plan.push_back(pdf.AddCompressedStream(""));
    return plan;
}

// A page written whole once the document is: page numbers filled in, the footer marked.
int32_t WriteWhole(PdfFile &pdf, ContentWriter &content, const Document &doc, size_t index,
                   size_t marked) {
    const Page &page = doc.pages[index];
    std::string shown;
    content.Start();
    ForEachItem(
        doc, index,
        [&](size_t text) {
            // Only page numbers and the stopped mark need a copy: a plain text is written from
            // the page's own characters.
            std::string_view view = page.TextOf(text);
            if (page.texts[text].special || text == marked) {
                shown = doc.ShownText(index, text) + (text == marked ? kStoppedMark : "");
                view = shown;
            }
            content.Text(page.texts[text], view);
        },
        [&](const ShapeItem &shape) { content.Shape(shape); });
    return pdf.AddCompressedStream(content.Content());
}

std::string ContentsOf(const ContentPlan &plan) {
    if (plan.size() == 1)
        return std::to_string(plan[0]) + " 0 R";
    std::string refs = "[";
    for (int32_t part : plan)
        refs += std::to_string(part) + " 0 R ";
    refs.back() = ']';
    return refs;
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

// The file, and the thread that writes the finished pages while the next ones are composed. Only
// that thread writes until Finish has joined it; pages reach it as pointers, since the document's
// page list itself changes as it grows, but a page in it never moves.
class PdfWriter::Ahead {
  public:
    explicit Ahead(std::FILE *file) : pdf(file), fontDict(AddFonts(pdf)) {}
    ~Ahead() { Join(true); }

    // Called on the composing thread only.
    void Queue(const Document &doc, size_t last) {
        bool wake = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            fonts_.insert(fonts_.end(),
                          doc.fonts.begin() + static_cast<std::ptrdiff_t>(fonts_.size()),
                          doc.fonts.end());
            pens_.insert(pens_.end(), doc.pens.begin() + static_cast<std::ptrdiff_t>(pens_.size()),
                         doc.pens.end());
            for (size_t i = queue_.size(); i <= last && i + 1 < doc.pages.size(); ++i)
                queue_.push_back(&doc.pages[i]);
            wake = waiting_ && queue_.size() - taken_ >= kWakeBatch;
        }
        if (wake)
            wake_.notify_one();
        if (!worker_.joinable() && !noThread_) {
            try {
                worker_ = std::thread([this] { Run(); });
            } catch (const std::system_error &) {
                // Then Finish writes every page, as it would a document it is given whole.
                noThread_ = true;
            }
        }
    }
    // Lets the thread write what it was given (or, when `abandon`, only the page in hand) and
    // waits for it.
    void Join(bool abandon) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            (abandon ? abandon_ : closing_) = true;
        }
        wake_.notify_one();
        if (worker_.joinable())
            worker_.join();
    }

    PdfFile pdf;
    const std::string fontDict;
    std::vector<ContentPlan> plans; // of the pages written ahead, from the first on

  private:
    void Run() {
        ContentTables tables;
        ContentWriter content(tables);
        std::vector<const Page *> batch;
        // Out of memory here is not the document's failure: what is left is written at the end.
        try {
            for (;;) {
                {
                    std::unique_lock<std::mutex> lock(mutex_);
                    waiting_ = true;
                    wake_.wait(lock, [&] {
                        return abandon_ || closing_ || queue_.size() - taken_ >= kWakeBatch;
                    });
                    waiting_ = false;
                    if (abandon_ || taken_ == queue_.size())
                        return;
                    batch.assign(queue_.begin() + static_cast<std::ptrdiff_t>(taken_),
                                 queue_.end());
                    taken_ = queue_.size();
                    tables.CatchUp(fonts_, pens_);
                }
                for (const Page *page : batch) {
                    ContentPlan plan = WriteAhead(pdf, content, tables, *page);
                    plans.push_back(std::move(plan));
                    if (!pdf.Ok())
                        return;
                }
            }
        } catch (...) {
        }
    }

    // Pages are handed on a few at a time: waking a thread is a call into the system, under Wine
    // a round trip to its server.
    static constexpr size_t kWakeBatch = 4;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<const Page *> queue_; // the pages given so far
    std::vector<TextFont> fonts_;     // the document's tables as the pages given so far need them
    std::vector<ShapePen> pens_;
    size_t taken_ = 0;     // of the queue, by the thread
    bool waiting_ = false; // the thread waits for pages
    bool closing_ = false, abandon_ = false;
    bool noThread_ = false;
    std::thread worker_;
};

PdfWriter::PdfWriter(std::FILE *file) : ahead_(std::make_unique<Ahead>(file)) {}

PdfWriter::~PdfWriter() = default;

void PdfWriter::PagesDone(const Document &doc, size_t index) {
    ahead_->Queue(doc, index);
}

bool PdfWriter::Finish(const Document &doc) {
    ahead_->Join(false);
    PdfFile &pdf = ahead_->pdf;
    std::vector<ContentPlan> &plans = ahead_->plans;
    ContentTables tables;
    tables.CatchUp(doc.fonts, doc.pens);
    ContentWriter content(tables);
    for (size_t i = 0; i < plans.size() && pdf.Ok(); ++i)
        for (int32_t &part : plans[i])
            if (part < 0) {
                const size_t text = DeferredText(part);
                content.Start();
                content.Text(doc.pages[i].texts[text], doc.ShownText(i, text));
                part = pdf.AddCompressedStream(content.Content());
            }
    plans.reserve(doc.pages.size());
    for (size_t i = plans.size(); i < doc.pages.size() && pdf.Ok(); ++i) {
        const bool last = i + 1 == doc.pages.size();
        const size_t marked = doc.stopped && last ? FooterOf(doc.pages[i]) : kNoText;
        plans.push_back({WriteWhole(pdf, content, doc, i, marked)});
    }
    if (!pdf.Ok())
        return false;
    // The page tree comes last, when every page's streams are known; its kids follow it.
    const int pagesObject = pdf.Begin();
    pdf.Put("<< /Type /Pages /Count " + std::to_string(doc.pages.size()) + " /Kids [");
    for (size_t i = 0; i < doc.pages.size() && pdf.Ok(); ++i)
        pdf.Put(std::to_string(pagesObject + 1 + i) + " 0 R ");
    pdf.Put("] /MediaBox [0 0 612 792] /Resources << /Font << " + ahead_->fontDict + ">> >> >>");
    pdf.End();
    for (size_t i = 0; i < doc.pages.size() && pdf.Ok(); ++i)
        pdf.Add("<< /Type /Page /Parent " + std::to_string(pagesObject) + " 0 R /Contents " +
                ContentsOf(plans[i]) + " >>");
    int root = pdf.Add("<< /Type /Catalog /Pages " + std::to_string(pagesObject) + " 0 R >>");
    const std::string title = doc.stopped ? doc.title + kStoppedMark : doc.title;
    int info = pdf.Add("<< /Title " + PdfTextString(title) + " /Producer (PRNVIEW32) >>");
    pdf.Finish(root, info);
    return pdf.Ok();
}

bool WritePdf(const Document &doc, std::FILE *file) {
    PdfWriter writer(file);
    return writer.Finish(doc);
}

bool FinishPdfAndClose(PdfWriter &writer, const Document &doc, std::FILE *file) {
    bool written = false;
    try {
        written = writer.Finish(doc);
    } catch (const std::bad_alloc &) {
    }
    // Flushed before closing: Wine's fclose reports success when its own flush failed.
    written = std::fflush(file) == 0 && written;
    return std::fclose(file) == 0 && written;
}

bool WritePdfAndClose(const Document &doc, std::FILE *file) {
    try {
        PdfWriter writer(file);
        return FinishPdfAndClose(writer, doc, file);
    } catch (const std::bad_alloc &) {
        std::fclose(file);
        return false;
    }
}

std::string FiledPdfName(const std::string &title, const std::string &stamp, int copy) {
    const std::string taken = copy > 1 ? " (" + std::to_string(copy) + ")" : "";
    return PdfFileName(title + " " + stamp + taken);
}
