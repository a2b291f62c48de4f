// The UDP link's socket-free rules: the option word of a reply and the sender filter.
#include "udp_link.h"

#include <gtest/gtest.h>

namespace {

TEST(OptionReplyWord, Cases) {
    const std::string header = "^^<U>0123456789ABCDEF"; // 21 characters
    struct Case {
        const char *name;
        std::string datagram;
        std::string word;
    };
    const Case cases[] = {
        {"second word", header + "V4.1 ECXUDASoBKt 2", "ECXUDASoBKt"},
        {"word runs to the end", header + "V4.1 ECXUDASoBKt", "ECXUDASoBKt"},
        {"no space", header + "ECXUDASoBKt", ""},
        {"two spaces give an empty word", header + "V  ECX", ""},
        {"header only", header, ""},
        {"shorter than the header", "^^<U>", ""},
        {"space inside the header is not counted", "^^<U> 23456789ABCDEFV X", "X"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(OptionReplyWord(c.datagram), c.word) << c.name;
    }
}

TEST(SenderAccepted, FilterByUnitIp) {
    CidConfig config{};
    const uint8_t unit[4] = {192, 168, 1, 20};
    const uint8_t other[4] = {192, 168, 1, 21};
    std::memcpy(config.UnitIp, unit, 4);
    EXPECT_TRUE(SenderAccepted(config, IpFromOctets(other))) << "filter off takes any sender";
    config.Options = CFG_FILTER_UNIT_IP;
    EXPECT_TRUE(SenderAccepted(config, IpFromOctets(unit)));
    EXPECT_FALSE(SenderAccepted(config, IpFromOctets(other)));
    std::memset(config.UnitIp, 0, 4);
    EXPECT_FALSE(SenderAccepted(config, IpFromOctets(unit))) << "address 0 lets nothing in";
}

} // namespace
