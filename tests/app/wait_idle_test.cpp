// The bounded wait for busy request groups, on the fake clock.
#include "base/Events.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "ui/Form.h"
#include "ui/Testing.h"

#include <gtest/gtest.h>
#include <memory>

TEST(WaitIdle, ReplyBoundIsTheTimeOutOverAllSends) {
    struct Case {
        int timeout, retries;
        std::uint32_t ms;
    } cases[] = {{300, 1, 6000}, {50, 0, 500}, {100, 3, 4000}, {0, 2, 0}, {20, -1, 200}};
    for (const Case& c : cases) {
        QvSNMPRequest r;
        r.Timeout = c.timeout;
        r.Retries = c.retries;
        EXPECT_EQ(QvReplyBoundMs(r), c.ms) << c.timeout << "/" << c.retries;
    }
}

TEST(WaitIdle, ReturnsOnceNoLongerBusy) {
    UiTestSession session;
    session.UseFakeClock();
    int checks = 0;
    EXPECT_TRUE(QvWaitWhile([&] { return ++checks < 5; }, 1000));
    EXPECT_GE(checks, 5);
    EXPECT_LT(session.SleptMs(), 100u);
}

TEST(WaitIdle, PostedWorkRunsWhileWaiting) {
    UiTestSession session;
    session.UseFakeClock();
    bool done = false;
    PostCall([&] { done = true; });
    EXPECT_TRUE(QvWaitWhile([&] { return !done; }, 1000));
    EXPECT_TRUE(done);
}

TEST(WaitIdle, GivesUpAfterTheBoundAndSleepsMeanwhile) {
    UiTestSession session;
    session.UseFakeClock(5000);
    int checks = 0;
    EXPECT_FALSE(QvWaitWhile([&] { return ++checks > 0; }, 700));
    EXPECT_GE(session.SleptMs(), 700u);
    EXPECT_LE(session.SleptMs(), 720u);
    // It slept between checks rather than spinning through them.
    EXPECT_LE(checks, 3 * 72);
}

TEST(WaitIdle, BoundEndsTheGroupsOperation) {
    UiTestSession session;
    session.UseFakeClock();
    TForm form(nullptr);
    auto group = std::make_unique<QvSNMPRequest2Edits>(&form);
    group->busy = 1; // a reply that never comes
    EXPECT_FALSE(WaitWhileBusy(*group, 300));
    EXPECT_EQ(group->busy, 0);
    EXPECT_EQ(group->request.Alive, 0);
    group->busy = 0;
    group->request.Alive = 1;
    EXPECT_TRUE(WaitWhileBusy(*group, 300));
    EXPECT_EQ(group->request.Alive, 1);
}
