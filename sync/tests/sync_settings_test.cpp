// The "CIDSync" settings: what is accepted, and that every fault is named rather than guessed.
#include "sync_settings.h"

#include <gtest/gtest.h>

namespace {

const char GOOD_CONNECTION[] =
    "Driver={PostgreSQL Unicode};Server=hq.example;Port=5432;Database=calls;Uid=store17";

SyncSettingsText Texts(const std::string &connection, const std::string &site,
                       const char *interval) {
    SyncSettingsText t;
    t.Connection = connection;
    t.HasConnection = true;
    t.Site = site;
    t.HasSite = true;
    t.HasInterval = interval != nullptr;
    t.Interval = interval ? interval : "";
    return t;
}

} // namespace

TEST(SyncSettings, AcceptsGoodValuesAndDefaultsTheIntervalOnlyWhenTheKeyIsMissing) {
    const struct {
        const char *Site;
        const char *Interval;
        int32_t Expected;
    } cases[] = {{"store17", nullptr, 60},
                 {"A", "5", 5},
                 {"north-end_2", "3600", 3600},
                 {"abcdefghijklmnopqrstuvwxyz012345", " 90 ", 90}};
    for (const auto &c : cases) {
        SyncSettings s;
        EXPECT_EQ("", ParseSyncSettings(Texts(GOOD_CONNECTION, c.Site, c.Interval), s)) << c.Site;
        EXPECT_EQ(c.Site, s.Site);
        EXPECT_EQ(c.Expected, s.IntervalSeconds) << c.Site;
        EXPECT_EQ(GOOD_CONNECTION, s.Connection);
    }
}

TEST(SyncSettings, NamesTheKeyThatIsMissingOrOutOfRange) {
    const struct {
        SyncSettingsText Texts;
        const char *Starts;
    } cases[] = {
        {Texts("", "store17", nullptr), "Connection is missing"},
        {Texts(GOOD_CONNECTION, "", nullptr), "Site is missing"},
        {Texts(GOOD_CONNECTION, "store 17", nullptr), "Site in section CIDSync"},
        {Texts(GOOD_CONNECTION, "store.17", nullptr), "Site in section CIDSync"},
        {Texts(GOOD_CONNECTION, "abcdefghijklmnopqrstuvwxyz0123456", nullptr), "Site in"},
        {Texts(GOOD_CONNECTION, "caf\xe9", nullptr), "Site in"},
        {Texts(GOOD_CONNECTION, "store17", "4"), "Interval in"},
        {Texts(GOOD_CONNECTION, "store17", "3601"), "Interval in"},
        {Texts(GOOD_CONNECTION, "store17", ""), "Interval in"},
        {Texts(GOOD_CONNECTION, "store17", "60s"), "Interval in"},
        {Texts(GOOD_CONNECTION, "store17", "-60"), "Interval in"},
        {Texts(GOOD_CONNECTION, "store17", "99999999999"), "Interval in"},
    };
    for (const auto &c : cases) {
        SyncSettings s;
        const std::string error = ParseSyncSettings(c.Texts, s);
        EXPECT_EQ(0u, error.find(c.Starts)) << error;
    }
    SyncSettingsText absent = Texts(GOOD_CONNECTION, "store17", nullptr);
    absent.HasConnection = false;
    SyncSettings s;
    EXPECT_EQ(0u, ParseSyncSettings(absent, s).find("Connection is missing"));
}

TEST(SyncSettings, RefusesAPasswordInAnyCaseAndPosition) {
    const struct {
        const char *Connection;
        bool Refused;
    } cases[] = {
        {"Driver={PostgreSQL Unicode};Server=h;Pwd=secret", true},
        {"pwd=secret;Driver={PostgreSQL Unicode};Server=h", true},
        {"Driver={PostgreSQL Unicode}; PASSWORD =secret;Server=h", true},
        {"Driver={PostgreSQL Unicode};Server=h;password={a;b}", true},
        {"DSN=hq;Uid=store17;Pwd=", true},
        // Braced values and names that merely contain the word are no password attribute.
        {"Driver={PostgreSQL Unicode};Database={pwd=x;y}};z};Uid=store", false},
        {"Driver={PostgreSQL Unicode};PwdFile=x;Uid=passwords", false},
        {"DSN=hq;;Uid=store17", false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.Refused, ConnectionHasPassword(c.Connection)) << c.Connection;
        SyncSettings s;
        const std::string error = ParseSyncSettings(Texts(c.Connection, "s", nullptr), s);
        EXPECT_EQ(c.Refused, error.find("must not hold a password") != std::string::npos)
            << c.Connection;
    }
}
