// The tray icon's tick rule: the picture follows the server, and a missing icon is added again.
#include "tray_rule.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TrayTick, FollowsTheServerAndAddsTheIconWhileTheTrayLacksIt) {
    struct Case {
        const char *name;
        int state;
        bool added, running;
        TrayCall call;
        int stateAfter;
        const char *picture;
        bool changed;
    } const cases[] = {
        {"first tick, running", 0, true, true, TrayCall::Modify, 1, "AAA", true},
        {"first tick, stopped", 0, true, false, TrayCall::Modify, 2, "CCC", true},
        {"still running", 1, true, true, TrayCall::None, 1, "AAA", false},
        {"server stopped", 1, true, false, TrayCall::Modify, 2, "CCC", true},
        {"server started again", 2, true, true, TrayCall::Modify, 1, "AAA", true},
        {"still stopped", 2, true, false, TrayCall::None, 2, "CCC", false},
        // The add at window creation failed (taskbar not ready at log-on): every tick retries.
        {"add failed, first tick", 0, false, true, TrayCall::Add, 1, "AAA", true},
        {"add failed, no change", 1, false, true, TrayCall::Add, 1, "AAA", false},
        {"add failed, server stopped", 1, false, false, TrayCall::Add, 2, "CCC", true},
        {"re-added while stopped", 2, false, false, TrayCall::Add, 2, "CCC", false},
    };
    for (const Case &c : cases) {
        int state = c.state;
        const TrayStep step = TrayTick(state, c.added, c.running);
        EXPECT_EQ(step.Call, c.call) << c.name;
        EXPECT_EQ(state, c.stateAfter) << c.name;
        EXPECT_EQ(std::string(step.Picture), c.picture) << c.name;
        EXPECT_EQ(step.StateChanged, c.changed) << c.name;
    }
}

} // namespace
