// Writes a document as a PDF file of letter pages with the standard Type 1 fonts: no fonts
// embedded, each page's content stream Flate-compressed and written as soon as it is made, so a
// document of thousands of pages never stands whole in memory a second time.
#pragma once
#include <cstdio>
#include <memory>
#include <string>

#include "document.h"

// A PDF file being written while its document is composed: each finished page goes to the file
// on a thread of its own, so a long report's pages are compressed while the next ones are being
// made. Only what depends on the page count (page-number texts) and the last page wait for the
// end.
class PdfWriter {
  public:
    // Writes the file's start; throws std::bad_alloc when there is no memory for it.
    explicit PdfWriter(std::FILE *file);
    // Stops writing ahead; the file is left as it is, without its end.
    ~PdfWriter();
    PdfWriter(const PdfWriter &) = delete;
    PdfWriter &operator=(const PdfWriter &) = delete;

    // Pages up to `index` of `doc` will not change again; `doc` goes on growing, but only by
    // pages after them and entries added to its font and pen tables. The last page waits for
    // Finish, which may mark its footer. Throws std::bad_alloc.
    void PagesDone(const Document &doc, size_t index);
    // Writes the rest of `doc`; false once a write failed (the file then holds no whole PDF). A
    // stopped document says so: " (stopped)" follows its title and its last page's footer (the
    // lowest text on that page). Throws std::bad_alloc.
    bool Finish(const Document &doc);

  private:
    class Ahead;
    std::unique_ptr<Ahead> ahead_;
};

// Writes `doc` to `file`; false once a write failed.
bool WritePdf(const Document &doc, std::FILE *file);
// The rest of `writer`'s document written, then the file flushed and closed: false when any of
// it failed, memory for the page on its way included.
bool FinishPdfAndClose(PdfWriter &writer, const Document &doc, std::FILE *file);
// WritePdf, then the file flushed and closed, as FinishPdfAndClose.
bool WritePdfAndClose(const Document &doc, std::FILE *file);

// The name a document is filed under in a folder: its title, the time it started
// ("YYYY-MM-DD HHMMSS") and, for the copy-th try once the names before are taken, " (copy)";
// characters Windows refuses in names become '-'.
std::string FiledPdfName(const std::string &title, const std::string &stamp, int copy);

// The text as a PDF literal string: parentheses and backslashes escaped, bytes outside printable
// ASCII as three-digit octal escapes, so the bytes between the parentheses are printable ASCII.
std::string PdfString(const std::string &text);

// A Windows-1252 text as a PDF text string, as readers show titles: a literal when it is plain
// ASCII, otherwise UTF-16BE after the byte-order mark, written in hex.
std::string PdfTextString(const std::string &text);
