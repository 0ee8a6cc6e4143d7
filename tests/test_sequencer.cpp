// The order of events around an operation that waits: the UI thread goes
// on, and what arrives meanwhile happens afterwards, as it would have in a
// program that blocked.

#include "app/sequencer.h"
#include "platform/errors.h"
#include "support/fakes.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace zelk;
using namespace zelktest;

class SequencerTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { ensureCoreApp(); }
    std::shared_ptr<FakeDialogs> dialogs = std::make_shared<FakeDialogs>();
    Sequencer seq{dialogs};
    QStringList log;
};

TEST_F(SequencerTest, InputAndTicksDuringAWaitComeAfterItsContinuation)
{
    UiTimer clock(10, true);
    UiTimer other(10, true);
    seq.bindTimer(clock, [&] { log << QStringLiteral("tick"); });
    seq.bindTimer(other, [&] { log << QStringLiteral("other"); });
    clock.setEnabled(false);
    other.setEnabled(false);

    seq.input([&] {
        log << QStringLiteral("first half");
        seq.wait(50, [&] { log << QStringLiteral("second half"); });
    });
    seq.input([&] { log << QStringLiteral("key"); });
    clock.fire();
    clock.fire(); // due twice: runs once
    other.fire();
    seq.input([&] { log << QStringLiteral("click"); });
    EXPECT_EQ(log, QStringList{QStringLiteral("first half")});
    EXPECT_TRUE(seq.holding());

    ASSERT_TRUE(QTest::qWaitFor([&] { return !seq.holding(); }, 2000));
    // Only ticks of timers that are still enabled run after the wait.
    EXPECT_EQ(log, (QStringList{QStringLiteral("first half"), QStringLiteral("second half"),
                                QStringLiteral("key"), QStringLiteral("click")}));

    clock.setEnabled(true);
    seq.input([&] { seq.wait(10, [] {}); });
    clock.fire();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !seq.holding(); }, 2000));
    EXPECT_EQ(log.last(), QStringLiteral("tick"));
}

TEST_F(SequencerTest, AHeldTickIsVoidOnceInputRestartedOrStoppedItsTimer)
{
    struct Case
    {
        const char* name;
        std::function<void(UiTimer&)> inputDuringWait;
        bool tickRuns;
    };
    const Case cases[] = {
        {"untouched", [](UiTimer&) {}, true},
        {"enabled again while running: no restart", [](UiTimer& t) { t.setEnabled(true); }, true},
        {"restarted",
         [](UiTimer& t) {
             t.setEnabled(false);
             t.setEnabled(true);
         },
         false},
        {"stopped", [](UiTimer& t) { t.setEnabled(false); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UiTimer countdown(3000, true);
        int ticks = 0;
        seq.bindTimer(countdown, [&] { ++ticks; });
        seq.input([&] { seq.wait(20, [] {}); });
        countdown.fire(); // came due during the wait
        seq.input([&] { c.inputDuringWait(countdown); });
        seq.skipWaits();
        EXPECT_EQ(ticks, c.tickRuns ? 1 : 0);
    }
    // Due, restarted, due again: the second tick runs once.
    UiTimer countdown(3000, true);
    int ticks = 0;
    seq.bindTimer(countdown, [&] { ++ticks; });
    seq.wait(20, [] {});
    countdown.fire();
    countdown.setEnabled(false);
    countdown.setEnabled(true);
    countdown.fire();
    seq.skipWaits();
    EXPECT_EQ(ticks, 1);
}

TEST_F(SequencerTest, ThreadKeepsRunningDuringAWait)
{
    int beats = 0;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++beats; });
    heartbeat.start(10);
    bool done = false;
    seq.wait(300, [&] { done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 2000));
    EXPECT_GE(beats, 10);
}

TEST_F(SequencerTest, DroppedInputIsNeverRunButPostedWorkIs)
{
    seq.hold(Sequencer::Input::Dropped);
    seq.input([&] { log << QStringLiteral("click"); });
    seq.post([&] { log << QStringLiteral("closed"); });
    seq.release([&] { log << QStringLiteral("continued"); });
    EXPECT_EQ(log, (QStringList{QStringLiteral("continued"), QStringLiteral("closed")}));
}

TEST_F(SequencerTest, AFailingContinuationIsReportedAndLetsTheHeldEventsGo)
{
    seq.wait(10, [] { throw OperationError(QStringLiteral("Cannot write \"Radio.ini\"")); });
    seq.input([&] { log << QStringLiteral("key"); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !seq.holding(); }, 2000));
    EXPECT_EQ(dialogs->errors, QStringList{QStringLiteral("Cannot write \"Radio.ini\"")});
    EXPECT_EQ(log, QStringList{QStringLiteral("key")});
}

TEST_F(SequencerTest, AWaitInsideTheHeldEventsHoldsTheRestAgain)
{
    seq.wait(10, [&] { log << QStringLiteral("a"); });
    seq.input([&] {
        log << QStringLiteral("b");
        seq.wait(10, [&] { log << QStringLiteral("c"); });
    });
    seq.input([&] { log << QStringLiteral("d"); });
    seq.skipWaits();
    EXPECT_EQ(log, (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                QStringLiteral("d")}));
    EXPECT_FALSE(seq.holding());
}
