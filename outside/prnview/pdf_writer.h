// Writes a document as a PDF file of letter pages with the standard Type 1 fonts: no fonts
// embedded, each page's content stream Flate-compressed and written as soon as it is made, so a
// document of thousands of pages never stands whole in memory a second time.
#pragma once
#include <cstdio>
#include <string>

#include "document.h"

// Writes `doc` to `file`; false once a write failed (the file then holds no whole PDF). A stopped
// document says so: " (stopped)" follows its title and its last page's footer (the lowest text
// on that page).
bool WritePdf(const Document &doc, std::FILE *file);
// WritePdf, then the file flushed and closed: false when any of it failed, memory for the page
// on its way included.
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
