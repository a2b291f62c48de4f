// The address field's text in both directions, with the reading rules Save depends on.
#include "dotted_address.h"

#include <gtest/gtest.h>

TEST(DottedAddress, ReadsThreeDotsOnlyAndKeepsLowEightBits) {
    struct Case {
        const char *text;
        uint8_t expected[4];
    } cases[] = {
        {"192.168.1.20", {192, 168, 1, 20}},
        {"0.0.0.0", {0, 0, 0, 0}},
        {"256.257.511.1000", {0, 1, 255, 232}},
        {"1.2.3", {0, 0, 0, 0}},
        {"1.2.3.4.5", {0, 0, 0, 0}},
        {"", {0, 0, 0, 0}},
        {"...", {0, 0, 0, 0}},
        {"10.x.3.4", {10, 0, 3, 4}},
        {" 7.8.9.10", {7, 8, 9, 10}},
        {"99999999999999999999.1.1.1", {255, 1, 1, 1}},
    };
    for (const Case &c : cases) {
        uint8_t octets[4] = {9, 9, 9, 9};
        ReadDottedAddress(c.text, octets);
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(octets[i], c.expected[i]) << c.text << " octet " << i;
    }
}

TEST(DottedAddress, FormatsEachOctetInPlainDecimal) {
    const uint8_t address[4] = {192, 0, 2, 255};
    EXPECT_EQ(FormatDottedAddress(address), "192.0.2.255");
    const uint8_t none[4] = {0, 0, 0, 0};
    EXPECT_EQ(FormatDottedAddress(none), "0.0.0.0");
}
