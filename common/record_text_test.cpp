// Zero-padded numbers must read exactly as printf wrote them before: the display, the call log
// and the lock file names all hold them.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

#include "record_text.h"

TEST(ZeroPadded, MatchesPrintf) {
    const long long values[] = {0,    5,    -5,    12,      99,      123,       -123,
                                2026, 9999, 10000, INT_MAX, INT_MIN, LLONG_MAX, LLONG_MIN};
    for (long long value : values)
        for (int width = 0; width <= 6; ++width) {
            char expected[32];
            std::snprintf(expected, sizeof expected, "%0*lld", width, value);
            EXPECT_EQ(ZeroPadded(value, width), expected) << value << " width " << width;
        }
}

TEST(ClockText, TwoDigitsEach) {
    EXPECT_EQ(ClockText(0, 0, 0), "00:00:00");
    EXPECT_EQ(ClockText(9, 5, 7), "09:05:07");
    EXPECT_EQ(ClockText(23, 59, 59), "23:59:59");
}
