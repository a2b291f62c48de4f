// The configuration file and the INI file as Ringtune and the server see them on Windows.
#include "cid_config_file.h"
#include "ini_settings.h"
#include "test_program_dir.h"
#include <cstring>

namespace {

using ConfigFile = ProgramDirTest;
const char kCfg[] = "DATA\\QuorlCID.CFG";

std::string Record(uint8_t port, uint8_t first, uint8_t last, uint32_t options) {
    std::string bytes(32, '\0');
    bytes[0] = char(port);
    bytes[2] = char(first);
    bytes[3] = char(last);
    std::memcpy(&bytes[4], &options, 4);
    for (int i = 8; i < 20; ++i)
        bytes[i] = char(0xA0 + i);
    for (int i = 24; i < 32; ++i)
        bytes[i] = char(0xA0 + i);
    return bytes;
}

TEST_F(ConfigFile, MissingFileIsCreatedEmptyAndDefaultsApply) {
    CidConfig cfg{};
    EXPECT_TRUE(ReadCidConfig(dir_, cfg));
    ASSERT_TRUE(std::filesystem::exists(File(kCfg)));
    EXPECT_EQ(std::filesystem::file_size(File(kCfg)), 0u);
    EXPECT_EQ(cfg.PortSel, 1);
    EXPECT_EQ(cfg.UnitModel, 0);
    EXPECT_EQ(cfg.FirstLine, 1);
    EXPECT_EQ(cfg.LastLine, 4);
    EXPECT_EQ(cfg.Options, 0u);
}

TEST_F(ConfigFile, StoredLinesAreLimited) {
    struct Case {
        uint8_t first, last, wantLast;
    } cases[] = {{1, 40, 32}, {1, 0, 1}, {3, 8, 8}};
    for (const Case &c : cases) {
        WriteBytes(kCfg, Record(2, c.first, c.last, 0x202));
        CidConfig cfg{};
        ASSERT_TRUE(ReadCidConfig(dir_, cfg));
        EXPECT_EQ(cfg.PortSel, 2);
        EXPECT_EQ(cfg.FirstLine, 1);
        EXPECT_EQ(cfg.LastLine, c.wantLast);
        EXPECT_EQ(cfg.Options, 0x202u);
    }
}

TEST_F(ConfigFile, WriteKeepsReservedBytesAndTheTailBeyondTheRecord) {
    WriteBytes(kCfg, Record(1, 1, 4, 0) + "tail");
    CidConfig cfg{};
    ASSERT_TRUE(ReadCidConfig(dir_, cfg));
    cfg.PortSel = 9;
    cfg.Options = 0x1002;
    const uint8_t ip[] = {0xC0, 0xA8, 0x01, 0x14};
    std::memcpy(cfg.UnitIp, ip, 4);
    ASSERT_TRUE(WriteCidConfig(dir_, cfg));

    std::string expected = Record(9, 1, 4, 0x1002) + "tail";
    std::memcpy(&expected[20], ip, 4);
    EXPECT_EQ(ReadBytes(kCfg), expected);
}

TEST_F(ConfigFile, EmptyProgramDirectoryTouchesNothing) {
    CidConfig cfg{};
    EXPECT_FALSE(ReadCidConfig("", cfg));
    EXPECT_FALSE(WriteCidConfig("", cfg));
    EXPECT_EQ(ReadServerConfig("", cfg), ServerConfigStatus::Missing);
}

TEST_F(ConfigFile, ServerReadNeverCreatesAndRefusesUnusableRecords) {
    CidConfig cfg;
    EXPECT_EQ(ReadServerConfig(dir_, cfg), ServerConfigStatus::Missing);
    EXPECT_FALSE(std::filesystem::exists(File(kCfg)));

    WriteBytes(kCfg, "");
    std::memset(&cfg, 0xFF, sizeof cfg);
    EXPECT_EQ(ReadServerConfig(dir_, cfg), ServerConfigStatus::Unusable);
    EXPECT_EQ(cfg.PortSel, 0);

    WriteBytes(kCfg, Record(0, 1, 4, 2));
    EXPECT_EQ(ReadServerConfig(dir_, cfg), ServerConfigStatus::Unusable);

    WriteBytes(kCfg, Record(3, 1, 4, 2).substr(0, 20));
    EXPECT_EQ(ReadServerConfig(dir_, cfg), ServerConfigStatus::Unusable);

    // No defaults and no limits of its own.
    WriteBytes(kCfg, Record(3, 0, 40, 2));
    EXPECT_EQ(ReadServerConfig(dir_, cfg), ServerConfigStatus::Ok);
    EXPECT_EQ(cfg.PortSel, 3);
    EXPECT_EQ(cfg.FirstLine, 0);
    EXPECT_EQ(cfg.LastLine, 40);
}

using IniFile = ProgramDirTest;

TEST_F(IniFile, KeysOfTheSectionWithDefaultsAndLimits) {
    struct Case {
        const char *name, *content; // null content: no INI file
        int32_t timeoutMs;
        uint16_t port;
    } cases[] = {
        {"no file", nullptr, 1000, 3520},
        {"no keys", "[CIDServer]\r\nOther=1\r\n", 1000, 3520},
        {"values of the section only",
         "[Other]\r\nUDPPort=1\r\n[CIDServer]\r\nIPTimeOut=4\r\nUDPPort=4100\r\n", 4000, 4100},
        {"out of range", "[CIDServer]\r\nIPTimeOut=9\r\nUDPPort=70000\r\n", 1000, 3520},
        {"empty values", "[CIDServer]\r\nIPTimeOut=\r\nUDPPort=\r\n", 1000, 3520},
    };
    for (const Case &c : cases) {
        std::filesystem::remove(File("POSOvena.INI"));
        if (c.content)
            WriteBytes("POSOvena.INI", c.content);
        IniSettings s = ReadIniSettings(dir_);
        EXPECT_EQ(s.IpTimeoutMs, c.timeoutMs) << c.name;
        EXPECT_EQ(s.UdpPort, c.port) << c.name;
    }
}

} // namespace
