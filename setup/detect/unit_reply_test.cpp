// The identify reply read from bytes with a length, and the About box's information line.
#include "unit_reply.h"

#include <gtest/gtest.h>

namespace {

std::string Bytes(std::initializer_list<int> codes) {
    std::string out;
    for (int c : codes) {
        out += static_cast<char>(c);
    }
    return out;
}

const std::string kHeader = "^^<U>SIM00000001-0001";

} // namespace

TEST(FormatUnitIdReply, ReadsEachFieldUpToItsEndMark) {
    const std::string serial = Bytes({1, 2, 3, 4, 5, 6});
    struct Case {
        const char *name;
        std::string datagram;
        const char *expected;
    } cases[] = {
        {"example reply",
         kHeader + "<I>" + Bytes({0xC0, 0xA8, 1, 0x14}) + "<S>" + serial + "$<T>" +
             Bytes({0x0D, 0xC0}) + "<E>",
         "IP 192.168.1.20:3520  Serial# 01-02-030405-06"},
        {"no unit tag", "<I>" + Bytes({1, 2, 3, 4}) + "<S>" + serial + "$", ""},
        {"no <T>", kHeader + "<I>" + Bytes({10, 0, 0, 7}) + "<S>" + serial + "$",
         "IP 10.0.0.7:  Serial# 01-02-030405-06"},
        {"no <I> or <S>", kHeader + "<T>" + Bytes({0x0D, 0xC0}), "IP 0.0.0.0:3520  Serial# "},
        {"no tags at all", kHeader, "IP 0.0.0.0:  Serial# "},
        {"zero bytes kept",
         kHeader + "<I>" + Bytes({192, 168, 0, 20}) + "<S>" + Bytes({0, 0, 0, 0, 0, 9}) + "$<T>" +
             Bytes({0x0D, 0}) + "<E>",
         "IP 192.168.0.20:3328  Serial# 00-00-000000-09"},
        {"'<' in the address", kHeader + "<I>" + Bytes({10, '<', 3, 4}) + "<S>" + serial + "$",
         "IP 10.0.0.0:  Serial# 01-02-030405-06"},
        {"'$' in the serial",
         kHeader + "<I>" + Bytes({1, 2, 3, 4}) + "<S>" + Bytes({1, 2, '$', 4}) + "<T>" +
             Bytes({0x0D, 0xC0}),
         "IP 1.2.3.4:3520  Serial# 01-02-"},
        {"'<' in the port", kHeader + "<T>" + Bytes({0x0D, '<', 0xC0}), "IP 0.0.0.0:13  Serial# "},
        {"long port field: last four bytes", kHeader + "<T>" + Bytes({9, 9, 0, 0, 0x0D, 0xC0}),
         "IP 0.0.0.0:3520  Serial# "},
        {"four-byte port unsigned", kHeader + "<T>" + Bytes({0xFF, 0xFF, 0xFF, 0xFF}),
         "IP 0.0.0.0:4294967295  Serial# "},
        {"fields run to the end", kHeader + "<S>" + Bytes({0xAB, 0xCD}),
         "IP 0.0.0.0:  Serial# AB-CD-"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FormatUnitIdReply(c.datagram), c.expected) << c.name;
    }
}

TEST(FormatUnitIdReply, NeverReadsPastTheLength) {
    // The tag and address continue in memory beyond the datagram's length; none of it counts.
    const std::string memory = kHeader + "<I>" + Bytes({1, 2, 3, 4}) + "<T>" + Bytes({0x0D, 0xC0});
    EXPECT_EQ(FormatUnitIdReply(memory.data(), kHeader.size() + 5), "IP 1.2.0.0:  Serial# ");
    EXPECT_EQ(FormatUnitIdReply(memory.data(), 4), "");
}

TEST(UnitInfo, LineForEachModelPortAndOutcome) {
    struct Case {
        bool otherModel;
        int32_t port;
        UnitInfoLink link;
    } links[] = {
        {true, 1, UnitInfoLink::NotAvailable}, {true, 8, UnitInfoLink::NotAvailable},
        {true, 0, UnitInfoLink::Network},      {false, 3, UnitInfoLink::Serial},
        {false, 0, UnitInfoLink::Network},
    };
    for (const Case &c : links) {
        EXPECT_EQ(ChooseUnitInfoLink(c.otherModel, c.port), c.link)
            << c.otherModel << " " << c.port;
    }
    EXPECT_STREQ(kNotAvailableText, "Not Available for LITE or POS Units in Serial Mode.");

    const std::string line29(29, 'x'), line30(30, 'x');
    EXPECT_EQ(SerialInfoText(1, false, ""), "Port Error Opening COM1");
    EXPECT_EQ(SerialInfoText(2, true, ""), "Error Retriving Data");
    EXPECT_EQ(SerialInfoText(2, true, line29), "Error Retriving Data");
    EXPECT_EQ(SerialInfoText(2, true, line30), line30);

    const std::string reply = kHeader + "UNITSIM-8 ECXUDASoBKt LINES 08";
    EXPECT_EQ(NetworkInfoText(false, NetworkOutcome::NoSocket, reply), "Cannot Start IP Session!");
    EXPECT_EQ(NetworkInfoText(true, NetworkOutcome::NotFound, reply), "No Unit Found");
    EXPECT_EQ(NetworkInfoText(false, NetworkOutcome::Found, reply),
              "UNITSIM-8 ECXUDASoBKt LINES 08");
    EXPECT_EQ(NetworkInfoText(false, NetworkOutcome::Found, kHeader), "");
    EXPECT_EQ(NetworkInfoText(true, NetworkOutcome::Found, kHeader + "<T>" + Bytes({0x0D, 0xC0})),
              "IP 0.0.0.0:3520  Serial# ");
    EXPECT_STREQ(UnitInfoCommand(true), "^^IdX");
    EXPECT_STREQ(UnitInfoCommand(false), "^^Id-V");
}
