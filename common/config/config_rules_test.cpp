// The configuration and INI decisions that do not touch files: load rules, the server's
// acceptance test and the conversion of the INI texts.
#include "cid_config_file.h"
#include "ini_settings.h"
#include <cstring>
#include <gtest/gtest.h>

namespace {

CidConfig Filled(uint8_t value) {
    CidConfig cfg;
    std::memset(&cfg, value, sizeof cfg);
    return cfg;
}

TEST(LoadCidConfigBytes, EmptyFileSetsDefaultsAndKeepsTheOtherBytes) {
    CidConfig cfg = Filled(0xAB);
    LoadCidConfigBytes(nullptr, 0, cfg);
    EXPECT_EQ(cfg.PortSel, 1);
    EXPECT_EQ(cfg.UnitModel, 0);
    EXPECT_EQ(cfg.FirstLine, 1);
    EXPECT_EQ(cfg.LastLine, 4);
    const uint32_t options = cfg.Options;
    EXPECT_EQ(options, 0u);
    for (uint8_t b : cfg.Reserved8)
        EXPECT_EQ(b, 0xAB);
    EXPECT_EQ(cfg.UnitIp[3], 0xAB);
}

TEST(LoadCidConfigBytes, ShortFileOverwritesOnlyWhatItHolds) {
    CidConfig cfg = Filled(0xAB);
    const uint8_t bytes[] = {9, 2, 7};
    LoadCidConfigBytes(bytes, sizeof bytes, cfg);
    EXPECT_EQ(cfg.PortSel, 9);
    EXPECT_EQ(cfg.UnitModel, 2);
    EXPECT_EQ(cfg.FirstLine, 7);
    EXPECT_EQ(cfg.LastLine, 0xAB);
}

TEST(LoadCidConfigBytes, WholeRecordReplacesEverything) {
    CidConfig cfg = Filled(0xAB);
    uint8_t bytes[32];
    for (int i = 0; i < 32; ++i)
        bytes[i] = static_cast<uint8_t>(i);
    LoadCidConfigBytes(bytes, sizeof bytes, cfg);
    EXPECT_EQ(0, std::memcmp(&cfg, bytes, sizeof bytes));
}

TEST(LimitCidConfigLines, FirstLineIsOneAndLastLineStaysWithin1To32) {
    struct Case {
        uint8_t first, last, wantLast;
    } cases[] = {{1, 4, 4}, {5, 40, 32}, {0, 0, 1}, {3, 32, 32}, {1, 1, 1}, {9, 255, 32}};
    for (const Case &c : cases) {
        CidConfig cfg{};
        cfg.FirstLine = c.first;
        cfg.LastLine = c.last;
        LimitCidConfigLines(cfg);
        EXPECT_EQ(cfg.FirstLine, 1) << int(c.first);
        EXPECT_EQ(cfg.LastLine, c.wantLast) << int(c.last);
    }
}

TEST(JudgeServerConfig, NeedsTheWholeRecordAndALink) {
    CidConfig cfg{};
    EXPECT_EQ(JudgeServerConfig(32, cfg), ServerConfigStatus::Unusable);
    cfg.PortSel = 9;
    EXPECT_EQ(JudgeServerConfig(32, cfg), ServerConfigStatus::Ok);
    EXPECT_EQ(JudgeServerConfig(31, cfg), ServerConfigStatus::Unusable);
    EXPECT_EQ(JudgeServerConfig(0, cfg), ServerConfigStatus::Unusable);
    EXPECT_STREQ(ServerConfigMessage(ServerConfigStatus::Missing), "Quorl Config Not Found!");
    EXPECT_STREQ(ServerConfigMessage(ServerConfigStatus::Unusable),
                 "ERROR: Reading Configuration!");
}

TEST(IpTimeoutMsFromText, WholeSecondsOneToFiveElseOne) {
    struct Case {
        const char *text;
        int32_t ms;
    } cases[] = {{"0", 1000},
                 {"6", 1000},
                 {"abc", 1000},
                 {"5", 5000},
                 {"  3x", 3000},
                 {"", 1000},
                 {"1", 1000},
                 {"10", 1000},
                 {"-2", 1000},
                 {"4.9", 4000},
                 {"99999999999999999999", 1000}};
    for (const Case &c : cases)
        EXPECT_EQ(IpTimeoutMsFromText(c.text), c.ms) << '"' << c.text << '"';
}

TEST(UdpPortFromText, ZeroAndNoPortGive3520) {
    struct Case {
        const char *text;
        uint16_t port;
    } cases[] = {{"", 3520},       {"0", 3520},
                 {"70000", 3520},  {"65536", 3520},
                 {"65535", 65535}, {"3521", 3521},
                 {"x1", 3520},     {" 4000 ", 4000},
                 {"1", 1},         {"99999999999999999999", 3520}};
    for (const Case &c : cases)
        EXPECT_EQ(UdpPortFromText(c.text), c.port) << '"' << c.text << '"';
}

} // namespace
