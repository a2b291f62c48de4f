// Cfgvault's records: every byte defined, the store name cut so its NUL stays in the record.
#include "cfgvault_records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(CfgvaultRecords, StoreNameIsCutToKeepItsNul) {
    const std::string longest(355, 'N');
    struct {
        const char *what;
        std::string name, stored;
    } const cases[] = {
        {"none set", "", ""},
        {"short", "Luigi's Trattoria #2", "Luigi's Trattoria #2"},
        {"exactly the width less its NUL", longest, longest},
        {"one character too long", longest + "X", longest},
        {"far too long", std::string(5000, 'L'), std::string(355, 'L')},
        {"NUL inside ends it", std::string("Main\0Street", 11), "Main"},
    };
    for (const auto &c : cases) {
        const StoreRecord record = MakeStoreRecord(c.name);
        const auto *bytes = reinterpret_cast<const unsigned char *>(&record);
        EXPECT_EQ(std::string(reinterpret_cast<const char *>(bytes + 44)), c.stored) << c.what;
        EXPECT_EQ(bytes[399], 0) << c.what;
        for (size_t i = 44 + c.stored.size(); i < 400; ++i)
            ASSERT_EQ(bytes[i], 0) << c.what << " byte " << i;
    }
}

TEST(CfgvaultRecords, HeadersCarryTheirSizeAndZeros) {
    const StoreRecord store = MakeStoreRecord("Store");
    const WorkRecord work = MakeWorkRecord();
    const auto *storeBytes = reinterpret_cast<const unsigned char *>(&store);
    const auto *workBytes = reinterpret_cast<const unsigned char *>(&work);
    const unsigned char store400[] = {0x90, 0x01, 0, 0}, work280[] = {0x18, 0x01, 0, 0};
    EXPECT_EQ(std::memcmp(storeBytes, store400, 4), 0);
    EXPECT_EQ(std::memcmp(workBytes, work280, 4), 0);
    for (size_t i = 4; i < 44; ++i)
        EXPECT_EQ(storeBytes[i], 0) << i;
    for (size_t i = 4; i < 280; ++i)
        EXPECT_EQ(workBytes[i], 0) << i;
}

} // namespace
