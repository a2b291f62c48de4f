// Writes a document as a PDF file of letter pages with the standard Type 1 fonts: no fonts
// embedded, content streams left uncompressed so the text stays searchable in the bytes.
#pragma once
#include <string>

#include "document.h"

// A stopped document says so: " (stopped)" follows its title and its last page's footer (the
// lowest text on that page).
std::string PdfBytes(const Document &doc);

// The name a document is filed under in a folder: its title, the time it started
// ("YYYY-MM-DD HHMMSS") and, for the copy-th try once the names before are taken, " (copy)";
// characters Windows refuses in names become '-'.
std::string FiledPdfName(const std::string &title, const std::string &stamp, int copy);

// The text as a PDF literal string: parentheses and backslashes escaped, bytes outside printable
// ASCII as three-digit octal escapes, so the bytes between the parentheses are printable ASCII.
std::string PdfString(const std::string &text);
