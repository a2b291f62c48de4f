// Writes a document as a PDF file of letter pages with the standard Type 1 fonts: no fonts
// embedded, content streams left uncompressed so the text stays searchable in the bytes.
#pragma once
#include <string>

#include "document.h"

std::string PdfBytes(const Document &doc);

// The text as a PDF literal string: parentheses and backslashes escaped, bytes outside printable
// ASCII as three-digit octal escapes, so the bytes between the parentheses are printable ASCII.
std::string PdfString(const std::string &text);
