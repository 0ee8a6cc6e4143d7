// The one volume level: steps, mute toggles, overlays and what is stored.

#include "support/headunit_fixture.h"

#include <QTest>
#include <QThread>

using namespace zelk;
using namespace zelktest;

namespace {

enum class Op { F10, F11, F12, MenuF11, MenuF12, MuteIcon, UnmuteIcon, MenuPlus, MenuMinus };

struct VolumeCase
{
    const char* name;
    int volume;       // before
    int savedVolume;  // before
    bool muted;       // ton0 showing before
    Op op;
    int volumeAfter;
    int savedAfter;
    bool mutedAfter;  // on both screens
    const char* line3After; // nullptr: not written (stays "15")
    bool radioOverlay;      // the radio screen's overlay shown
    bool menuOverlay;
};

const VolumeCase kCases[] = {
    {"F12 steps up", 50, 0, false, Op::F12, 55, 0, false, "55", true, true},
    {"F12 at 100 stays but saves", 100, 0, false, Op::F12, 100, 0, false, "100", false, false},
    {"F12 when muted restores then steps", 0, 40, true, Op::F12, 45, 40, false, "45", true, true},
    {"F12 keeps a remainder", 98, 0, false, Op::F12, 103, 0, false, "103", true, true},
    {"F11 steps down", 50, 0, false, Op::F11, 45, 0, false, "45", true, true},
    {"F11 down to 0 mutes", 5, 30, false, Op::F11, 0, 0, true, "0", true, true},
    {"F11 while muted unmutes", 0, 30, true, Op::F11, 30, 30, false, "30", true, true},
    {"F10 mutes", 40, 0, false, Op::F10, 0, 40, true, "0", true, true},
    {"F10 unmutes", 0, 40, true, Op::F10, 40, 40, false, "40", true, true},
    {"F10 after muting at 0 stays 0", 0, 0, true, Op::F10, 0, 0, false, "0", true, true},
    {"speaker icon mutes", 25, 0, false, Op::MuteIcon, 0, 25, true, "0", true, true},
    {"crossed speaker unmutes", 0, 25, true, Op::UnmuteIcon, 25, 25, false, "25", true, true},
    {"menu F12: level and menu overlay only", 50, 0, false, Op::MenuF12, 55, 0, false, nullptr,
     false, true},
    {"menu F12 at 100: nothing", 100, 0, false, Op::MenuF12, 100, 0, false, nullptr, false,
     false},
    {"menu F11 at 0: nothing", 0, 0, false, Op::MenuF11, 0, 0, false, nullptr, false, false},
    {"menu F12 leaves the icons", 0, 30, true, Op::MenuF12, 5, 30, true, nullptr, false, true},
    {"menu + acts through the radio screen", 50, 0, false, Op::MenuPlus, 55, 0, false, "55",
     true, true},
    {"menu - acts through the radio screen", 50, 0, false, Op::MenuMinus, 45, 0, false, "45",
     true, true},
};

} // namespace

class VolumeTest : public HeadUnitTest
{
};

TEST_F(VolumeTest, OperationsTable)
{
    for (const VolumeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        QFile::remove(dataDir + QStringLiteral("Radio.ini")); // each case from the defaults
        boot();
        f1->restartOnce->setEnabled(false);
        f1->volume = c.volume;
        f1->savedVolume = c.savedVolume;
        f1->ton1->setVisible(!c.muted);
        f1->ton0->setVisible(c.muted);
        f2->ton1->setVisible(!c.muted);
        f2->ton0->setVisible(c.muted);
        fake.player->volumes.clear();

        switch (c.op) {
        case Op::F10: unit->routeHotKey(f1, Qt::Key_F10); break;
        case Op::F11: unit->routeHotKey(f1, Qt::Key_F11); break;
        case Op::F12: unit->routeHotKey(f1, Qt::Key_F12); break;
        case Op::MenuF11: unit->routeHotKey(f2, Qt::Key_F11); break;
        case Op::MenuF12: unit->routeHotKey(f2, Qt::Key_F12); break;
        case Op::MuteIcon: Q_EMIT f1->ton1->clicked(); break;
        case Op::UnmuteIcon: Q_EMIT f2->ton0->clicked(); break;
        case Op::MenuPlus: Q_EMIT f2->vol_plus->clicked(); break;
        case Op::MenuMinus: Q_EMIT f2->vol_minus->clicked(); break;
        }

        EXPECT_EQ(f1->volume, c.volumeAfter);
        EXPECT_EQ(f1->savedVolume, c.savedAfter);
        EXPECT_EQ(!f1->ton0->isHidden(), c.mutedAfter);
        EXPECT_EQ(!f2->ton0->isHidden(), c.mutedAfter);
        EXPECT_EQ(f1->ton1->isHidden(), c.mutedAfter);
        EXPECT_EQ(storedConfig().value(cfg::Volume),
                  QString::fromLatin1(c.line3After ? c.line3After : "15"));
        EXPECT_EQ(!f1->volbar->isHidden(), c.radioOverlay);
        EXPECT_EQ(!f2->overlay.volbar->isHidden(), c.menuOverlay);
        if (c.radioOverlay || c.menuOverlay) {
            ASSERT_FALSE(fake.player->volumes.isEmpty());
            EXPECT_EQ(fake.player->volumes.last(), c.volumeAfter);
            const Gauge* gauge = c.radioOverlay ? f1->volumebar : f2->overlay.volumebar;
            EXPECT_EQ(gauge->value(), std::clamp(c.volumeAfter, 0, 100));
        }
        unit.reset();
    }
}

TEST_F(VolumeTest, SequenceDownToZeroThenMuteThenUp)
{
    boot();
    f1->volume = 10;
    for (int i = 0; i < 2; ++i)
        unit->routeHotKey(f1, Qt::Key_F11);
    EXPECT_EQ(f1->volume, 0);
    EXPECT_FALSE(f1->ton0->isHidden());
    EXPECT_EQ(f1->savedVolume, 0);
    unit->routeHotKey(f5, Qt::Key_F10);
    EXPECT_FALSE(f1->ton1->isHidden());
    EXPECT_EQ(f1->volume, 0);
    unit->routeHotKey(f5, Qt::Key_F12);
    EXPECT_EQ(f1->volume, 5);
    EXPECT_EQ(storedConfig().value(cfg::Volume), QStringLiteral("5"));
}

TEST_F(VolumeTest, TuningWhileMutedShowsSoundOnHereOnly)
{
    boot();
    f1->volume = 30;
    f1->mute();
    f1->Button2();
    EXPECT_FALSE(f1->ton1->isHidden());
    EXPECT_FALSE(f2->ton0->isHidden());
    EXPECT_EQ(f1->volume, 0);
    f1->mute();
    EXPECT_EQ(f1->savedVolume, 0) << "the next mute stores the silent level";
}

TEST_F(VolumeTest, StepsRestartTheCountdownAMuteToggleDoesNot)
{
    boot();
    f1->volume = 50;
    unit->routeHotKey(f1, Qt::Key_F12);
    ASSERT_TRUE(f1->voltimer->isEnabled());
    QThread::msleep(400);
    const int beforeMute = f1->voltimer->remainingTime();
    f1->mute();
    EXPECT_LE(f1->voltimer->remainingTime(), beforeMute) << "a running countdown goes on";
    QThread::msleep(400);
    const int beforeStep = f1->voltimer->remainingTime();
    unit->routeHotKey(f1, Qt::Key_F12);
    EXPECT_GT(f1->voltimer->remainingTime(), beforeStep) << "a step restarts it";

    f1->voltimer->fire();
    EXPECT_TRUE(f1->volbar->isHidden());
    EXPECT_FALSE(f1->voltimer->isEnabled());
}

TEST_F(VolumeTest, MutedStateIsNotStoredOnlyTheLevel)
{
    boot();
    f1->volume = 60;
    f1->mute();
    EXPECT_EQ(storedConfig().value(cfg::Volume), QStringLiteral("0"));
    unit.reset();
    // The next start: level 0 and the sound-on icon.
    boot();
    f1->restartOnce->fire();
    EXPECT_EQ(f1->volume, 0);
    EXPECT_FALSE(f1->ton1->isHidden());
}
