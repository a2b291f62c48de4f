// The unit address as the dialog's address field shows it and as Save reads it back.
#pragma once
#include <cstdint>
#include <string>

// "a.b.c.d", each octet in plain decimal, the first from octets[0]; all zero gives "0.0.0.0".
std::string FormatDottedAddress(const uint8_t octets[4]);

// Reads text with exactly three dots: each part's leading digits as a number, of which only the
// low 8 bits are kept (a part without digits is 0). Any other text gives 0.0.0.0.
void ReadDottedAddress(const std::string &text, uint8_t octets[4]);
