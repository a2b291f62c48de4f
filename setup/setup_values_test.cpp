// What the dialog shows for each record field and option bit, and the bytes Save makes of it.
#include "setup_values.h"

#include <gtest/gtest.h>

#include <cstring>

#include "cid_config_file.h"

namespace {

CidConfig Config(uint8_t portSel, uint8_t model, uint8_t lastLine, uint32_t options) {
    CidConfig cfg{};
    cfg.PortSel = portSel;
    cfg.UnitModel = model;
    cfg.FirstLine = 1;
    cfg.LastLine = lastLine;
    cfg.Options = options;
    return cfg;
}

// The values of a default dialog: what an empty file loads as.
SetupValues DefaultValues() {
    CidConfig cfg{};
    LoadCidConfigBytes(nullptr, 0, cfg);
    LimitCidConfigLines(cfg);
    return SetupValuesFromConfig(cfg);
}

} // namespace

TEST(SetupValues, EmptyFileShowsTheDefaults) {
    SetupValues v = DefaultValues();
    EXPECT_EQ(v.lineItem, "04");
    EXPECT_EQ(v.portItem, "COM1");
    EXPECT_EQ(v.model, 0);
    EXPECT_EQ(v.refresh, 0);
    EXPECT_EQ(v.level, 0);
    EXPECT_FALSE(v.rawOutput || v.noLogWithheld || v.exclLog || v.exclShow || v.filterIp);
    EXPECT_EQ(v.ipText, "0.0.0.0");
}

TEST(SetupValues, LoadShowsEachFieldAndBit) {
    struct Case {
        const char *name;
        CidConfig cfg;
        const char *lineItem, *portItem;
        int model, refresh, level;
        bool raw, withheld, exclLog, exclShow, filter;
    } cases[] = {
        {"serial 3", Config(3, 0, 8, 0), "08", "COM3", 0, 0, 0, false, false, false, false, false},
        {"udp", Config(9, 0, 32, 0), "32", "IP UDP/IP", 0, 0, 0, false, false, false, false, false},
        {"port 0", Config(0, 0, 1, 0), "01", "", 0, 0, 0, false, false, false, false, false},
        {"port 10", Config(10, 0, 4, 0), "04", "", 0, 0, 0, false, false, false, false, false},
        {"model 2", Config(1, 2, 4, 0), "04", "COM1", 2, 0, 0, false, false, false, false, false},
        {"model 3", Config(1, 3, 4, 0), "04", "COM1", -1, 0, 0, false, false, false, false, false},
        {"basic", Config(1, 0, 4, 0x2), "04", "COM1", 0, 0, 1, false, false, false, false, false},
        {"full in", Config(1, 0, 4, 0x6), "04", "COM1", 0, 0, 2, false, false, false, false, false},
        {"full in out", Config(1, 0, 4, 0xE), "04", "COM1", 0, 0, 3, false, false, false, false,
         false},
        {"bits 2 3 without 1", Config(1, 0, 4, 0xC), "04", "COM1", 0, 0, 0, false, false, false,
         false, false},
        {"bits 1 3 without 2", Config(1, 0, 4, 0xA), "04", "COM1", 0, 0, 1, false, false, false,
         false, false},
        {"raw", Config(1, 0, 4, 0x10), "04", "COM1", 0, 0, 0, true, false, false, false, false},
        {"refresh end", Config(1, 0, 4, 0x80), "04", "COM1", 0, 1, 0, false, false, false, false,
         false},
        {"excl show", Config(1, 0, 4, 0x200), "04", "COM1", 0, 0, 0, false, false, false, true,
         false},
        {"excl log", Config(1, 0, 4, 0x400), "04", "COM1", 0, 0, 0, false, false, true, false,
         false},
        {"withheld", Config(1, 0, 4, 0x800), "04", "COM1", 0, 0, 0, false, true, false, false,
         false},
        {"filter", Config(9, 0, 4, 0x1000), "04", "IP UDP/IP", 0, 0, 0, false, false, false, false,
         true},
        {"lite drops full logging and end refresh", Config(1, 1, 4, 0x8E), "04", "COM1", 1, 0, 1,
         false, false, false, false, false},
        {"pos drops full inbound", Config(1, 2, 4, 0x6), "04", "COM1", 2, 0, 1, false, false, false,
         false, false},
    };
    for (const Case &c : cases) {
        SetupValues v = SetupValuesFromConfig(c.cfg);
        EXPECT_EQ(v.lineItem, c.lineItem) << c.name;
        EXPECT_EQ(v.portItem, c.portItem) << c.name;
        EXPECT_EQ(v.model, c.model) << c.name;
        EXPECT_EQ(v.refresh, c.refresh) << c.name;
        EXPECT_EQ(v.level, c.level) << c.name;
        EXPECT_EQ(v.rawOutput, c.raw) << c.name;
        EXPECT_EQ(v.noLogWithheld, c.withheld) << c.name;
        EXPECT_EQ(v.exclLog, c.exclLog) << c.name;
        EXPECT_EQ(v.exclShow, c.exclShow) << c.name;
        EXPECT_EQ(v.filterIp, c.filter) << c.name;
    }
}

TEST(SetupValues, LoadShowsTheAddressFirstOctetFirst) {
    CidConfig cfg = Config(9, 0, 4, 0x1000);
    const uint8_t address[4] = {0xC0, 0xA8, 0x01, 0x14};
    std::memcpy(cfg.UnitIp, address, 4);
    EXPECT_EQ(SetupValuesFromConfig(cfg).ipText, "192.168.1.20");
}

TEST(SetupValues, SaveWritesEachControl) {
    struct Case {
        const char *name;
        void (*change)(SetupValues &);
        uint8_t portSel, model, lastLine;
        uint32_t options;
        uint8_t ip[4];
    } cases[] = {
        {"defaults", [](SetupValues &) {}, 1, 0, 4, 0, {0, 0, 0, 0}},
        {"COM3", [](SetupValues &v) { v.portItem = "COM3"; }, 3, 0, 4, 0, {0, 0, 0, 0}},
        {"COM8", [](SetupValues &v) { v.portItem = "COM8"; }, 8, 0, 4, 0, {0, 0, 0, 0}},
        {"udp", [](SetupValues &v) { v.portItem = "IP UDP/IP"; }, 9, 0, 4, 0, {0, 0, 0, 0}},
        {"no port", [](SetupValues &v) { v.portItem = ""; }, 9, 0, 4, 0, {0, 0, 0, 0}},
        {"32 lines", [](SetupValues &v) { v.lineItem = "32"; }, 1, 0, 32, 0, {0, 0, 0, 0}},
        {"no line count", [](SetupValues &v) { v.lineItem = ""; }, 1, 0, 4, 0, {0, 0, 0, 0}},
        {"model 1", [](SetupValues &v) { v.model = 1; }, 1, 1, 4, 0, {0, 0, 0, 0}},
        {"model 2", [](SetupValues &v) { v.model = 2; }, 1, 2, 4, 0, {0, 0, 0, 0}},
        {"no model", [](SetupValues &v) { v.model = -1; }, 1, 0, 4, 0, {0, 0, 0, 0}},
        {"refresh end", [](SetupValues &v) { v.refresh = 1; }, 1, 0, 4, 0x80, {0, 0, 0, 0}},
        {"no refresh", [](SetupValues &v) { v.refresh = -1; }, 1, 0, 4, 0x80, {0, 0, 0, 0}},
        {"basic", [](SetupValues &v) { v.level = 1; }, 1, 0, 4, 0x2, {0, 0, 0, 0}},
        {"full in", [](SetupValues &v) { v.level = 2; }, 1, 0, 4, 0x6, {0, 0, 0, 0}},
        {"full in out", [](SetupValues &v) { v.level = 3; }, 1, 0, 4, 0xE, {0, 0, 0, 0}},
        {"no level", [](SetupValues &v) { v.level = -1; }, 1, 0, 4, 0x2, {0, 0, 0, 0}},
        {"raw", [](SetupValues &v) { v.rawOutput = true; }, 1, 0, 4, 0x10, {0, 0, 0, 0}},
        {"excl show", [](SetupValues &v) { v.exclShow = true; }, 1, 0, 4, 0x200, {0, 0, 0, 0}},
        {"excl log", [](SetupValues &v) { v.exclLog = true; }, 1, 0, 4, 0x400, {0, 0, 0, 0}},
        {"withheld", [](SetupValues &v) { v.noLogWithheld = true; }, 1, 0, 4, 0x800, {0, 0, 0, 0}},
        {"filter with address",
         [](SetupValues &v) {
             v.filterIp = true;
             v.ipText = "192.168.1.20";
         },
         1,
         0,
         4,
         0x1000,
         {0xC0, 0xA8, 0x01, 0x14}},
        {"filter with 0.0.0.0",
         [](SetupValues &v) { v.filterIp = true; },
         1,
         0,
         4,
         0,
         {0, 0, 0, 0}},
        {"filter with empty address",
         [](SetupValues &v) {
             v.filterIp = true;
             v.ipText = "";
         },
         1,
         0,
         4,
         0,
         {0, 0, 0, 0}},
        {"address without filter",
         [](SetupValues &v) { v.ipText = "10.0.0.300"; },
         1,
         0,
         4,
         0,
         {10, 0, 0, 44}},
    };
    for (const Case &c : cases) {
        SetupValues v = DefaultValues();
        c.change(v);
        CidConfig cfg{};
        std::memset(&cfg, 0xA5, sizeof cfg); // every byte Save leaves alone stays as read
        cfg.FirstLine = 1;
        SetupValuesToConfig(v, cfg);
        EXPECT_EQ(cfg.PortSel, c.portSel) << c.name;
        EXPECT_EQ(cfg.UnitModel, c.model) << c.name;
        EXPECT_EQ(cfg.FirstLine, 1) << c.name;
        EXPECT_EQ(cfg.LastLine, c.lastLine) << c.name;
        EXPECT_EQ(cfg.Options, c.options) << c.name;
        EXPECT_EQ(std::memcmp(cfg.UnitIp, c.ip, 4), 0) << c.name;
        const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&cfg);
        for (size_t at = 8; at < 32; at++) {
            if (at < 20 || at >= 24) {
                EXPECT_EQ(bytes[at], 0xA5) << c.name << at;
            }
        }
    }
}

TEST(SetupValues, SaveRaisesFirstLineBelowOne) {
    CidConfig cfg{};
    SetupValuesToConfig(DefaultValues(), cfg);
    EXPECT_EQ(cfg.FirstLine, 1);
}

// Every record the dialog can express comes back from Save as it was loaded, so opening the
// dialog and saving at once changes nothing.
TEST(SetupValues, SaveOfALoadedRecordGivesItBack) {
    const uint32_t levels[] = {0, 0x2, 0x6, 0xE};
    const uint32_t others[] = {0x10, 0x80, 0x200, 0x400, 0x800, 0x1000};
    for (uint8_t port = 1; port <= 9; port++)
        for (uint32_t level : levels)
            for (uint32_t mask = 0; mask < (1u << 6); mask++) {
                uint32_t options = level;
                for (int i = 0; i < 6; i++)
                    if (mask & (1u << i))
                        options |= others[i];
                CidConfig cfg = Config(port, 0, port * 3, options);
                cfg.UnitIp[0] = 10;
                cfg.UnitIp[3] = port;
                CidConfig saved = cfg;
                SetupValuesToConfig(SetupValuesFromConfig(cfg), saved);
                ASSERT_EQ(std::memcmp(&saved, &cfg, sizeof cfg), 0) << int(port) << " " << options;
            }
}

TEST(SetupValues, SaveClearsBitsNoControlEdits) {
    CidConfig cfg = Config(1, 0, 4, 0xFFFFFFFF);
    SetupValuesToConfig(SetupValuesFromConfig(cfg), cfg);
    EXPECT_EQ(cfg.Options, 0x2u | 0x4 | 0x8 | 0x10 | 0x80 | 0x200 | 0x400 | 0x800);
}

TEST(SetupValues, ListsAndPortNumbers) {
    std::vector<std::string> lines = LineCountItems();
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines.front(), "01");
    EXPECT_EQ(lines.back(), "32");
    std::vector<std::string> ports = PortItems();
    ASSERT_EQ(ports.size(), 9u);
    EXPECT_EQ(ports[0], "COM1");
    EXPECT_EQ(ports[8], "IP UDP/IP");
    EXPECT_EQ(PortNumberOfItem("COM7"), 7);
    EXPECT_EQ(PortNumberOfItem(" COM2  "), 2);
    EXPECT_EQ(PortNumberOfItem("IP UDP/IP"), 0);
    EXPECT_EQ(PortNumberOfItem(""), 0);
    EXPECT_EQ(PortNumberOfItem("   "), 0);
}
