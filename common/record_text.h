// Filling and reading the fixed-width text fields of records: NUL-terminated within the width,
// or padded with spaces to the width. Longer texts are cut, never written past the field.
#pragma once
#include <cstddef>
#include <cstring>
#include <string>

// At most width - 1 characters, then NUL up to the end of the field.
inline void PutTextNul(char *field, size_t width, const std::string &text) {
    if (width == 0)
        return;
    size_t n = text.size() < width - 1 ? text.size() : width - 1;
    std::memset(field, 0, width);
    std::memcpy(field, text.data(), n);
}

// The text cut to the width, then spaces up to the end of the field.
inline void PutTextPadded(char *field, size_t width, const std::string &text) {
    size_t n = text.size() < width ? text.size() : width;
    std::memset(field, ' ', width);
    std::memcpy(field, text.data(), n);
}

// The text of a NUL-terminated field; a field without NUL gives all its bytes.
inline std::string GetTextNul(const char *field, size_t width) {
    const void *nul = std::memchr(field, 0, width);
    return std::string(field, nul ? static_cast<const char *>(nul) - field : width);
}

// The text of a space-padded field without its trailing spaces.
inline std::string GetTextPadded(const char *field, size_t width) {
    size_t n = width;
    while (n > 0 && field[n - 1] == ' ')
        --n;
    return std::string(field, n);
}

template <size_t N> void PutTextNul(char (&field)[N], const std::string &text) {
    PutTextNul(field, N, text);
}
template <size_t N> void PutTextPadded(char (&field)[N], const std::string &text) {
    PutTextPadded(field, N, text);
}
template <size_t N> std::string GetTextNul(const char (&field)[N]) {
    return GetTextNul(field, N);
}
template <size_t N> std::string GetTextPadded(const char (&field)[N]) {
    return GetTextPadded(field, N);
}
