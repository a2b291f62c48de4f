// Filling and reading the fixed-width text fields of records: NUL-terminated within the width,
// or padded with spaces to the width. Longer texts are cut, never written past the field.
#pragma once
#include <cstddef>
#include <cstring>
#include <string>

// The value in decimal with at least `width` characters, zeros after any minus sign, as printf's
// "%0*d" writes it. By hand: the printf family brings MinGW's whole formatter into a Windows
// module, some 25 KB of code that Wine keeps resident.
inline std::string ZeroPadded(long long value, int width) {
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    char digits[24];
    int start = sizeof digits;
    do {
        digits[--start] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const int sign = value < 0 ? 1 : 0;
    const int length = static_cast<int>(sizeof digits) - start;
    std::string text = sign ? "-" : "";
    if (width > sign + length)
        text.append(static_cast<size_t>(width - sign - length), '0');
    return text.append(digits + start, static_cast<size_t>(length));
}

// "hh:mm:ss", the time of day as records and the display file hold it.
inline std::string ClockText(int hour, int minute, int second) {
    return ZeroPadded(hour, 2) + ":" + ZeroPadded(minute, 2) + ":" + ZeroPadded(second, 2);
}

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
