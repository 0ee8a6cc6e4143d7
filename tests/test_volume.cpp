// The one volume level: steps, mute toggles, overlays and what is stored.

#include "support/core_fixture.h"

#include <QFile>
#include <QThread>

using namespace zelk;
using namespace zelktest;

namespace {

enum class Op { F10, F11, F12, MenuF11, MenuF12, WebF12, MuteIcon, UnmuteIcon };

struct VolumeCase
{
    const char* name;
    int volume;      // before
    int savedVolume; // before
    bool muted;      // crossed speakers before
    Op op;
    int volumeAfter;
    int savedAfter;
    bool mutedAfter;        // on the radio screen and the main menu
    const char* line3After; // nullptr: not written (stays "15")
    bool radioOverlay;      // the overlays of the radio screen and the main menu
    bool menuOverlay;
    bool webOverlay;
};

const VolumeCase kCases[] = {
    {"F12 steps up", 50, 0, false, Op::F12, 55, 0, false, "55", true, true, false},
    {"F12 at 100 stays but saves", 100, 0, false, Op::F12, 100, 0, false, "100", false, false,
     false},
    {"F12 when muted restores then steps", 0, 40, true, Op::F12, 45, 40, false, "45", true, true,
     false},
    {"F12 keeps a remainder", 98, 0, false, Op::F12, 103, 0, false, "103", true, true, false},
    {"F11 steps down", 50, 0, false, Op::F11, 45, 0, false, "45", true, true, false},
    {"F11 down to 0 mutes", 5, 30, false, Op::F11, 0, 0, true, "0", true, true, false},
    {"F11 while muted unmutes", 0, 30, true, Op::F11, 30, 30, false, "30", true, true, false},
    {"F10 mutes", 40, 0, false, Op::F10, 0, 40, true, "0", true, true, false},
    {"F10 unmutes", 0, 40, true, Op::F10, 40, 40, false, "40", true, true, false},
    {"F10 after muting at 0 stays 0", 0, 0, true, Op::F10, 0, 0, false, "0", true, true, false},
    {"speaker icon mutes", 25, 0, false, Op::MuteIcon, 0, 25, true, "0", true, true, false},
    {"crossed speaker unmutes", 0, 25, true, Op::UnmuteIcon, 25, 25, false, "25", true, true,
     false},
    {"menu F12: level and menu overlay only", 50, 0, false, Op::MenuF12, 55, 0, false, nullptr,
     false, true, false},
    {"menu F12 at 100: nothing", 100, 0, false, Op::MenuF12, 100, 0, false, nullptr, false, false,
     false},
    {"menu F11 at 0: nothing", 0, 0, false, Op::MenuF11, 0, 0, false, nullptr, false, false, false},
    {"menu F12 leaves the icons", 0, 30, true, Op::MenuF12, 5, 30, true, nullptr, false, true,
     false},
    {"web view F12: its own overlay", 50, 0, false, Op::WebF12, 55, 0, false, nullptr, false, false,
     true},
};

} // namespace

class VolumeTest : public CoreTest
{
protected:
    void run(Op op)
    {
        auto key = [&](ScreenId screen, int k) { unit->seq.run(unit->hotKey(screen, k, false)); };
        switch (op) {
        case Op::F10:
            key(ScreenId::Form1, Qt::Key_F10);
            break;
        case Op::F11:
            key(ScreenId::Form1, Qt::Key_F11);
            break;
        case Op::F12:
            key(ScreenId::Form1, Qt::Key_F12);
            break;
        case Op::MenuF11:
            key(ScreenId::Form2, Qt::Key_F11);
            break;
        case Op::MenuF12:
            key(ScreenId::Form2, Qt::Key_F12);
            break;
        case Op::WebF12:
            key(ScreenId::Form3, Qt::Key_F12);
            break;
        case Op::MuteIcon:
            unit->volume.mute();
            break;
        case Op::UnmuteIcon:
            unit->volume.unmute();
            break;
        }
    }
};

TEST_F(VolumeTest, OperationsTable)
{
    for (const VolumeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        QFile::remove(dataDir + QStringLiteral("Radio.ini")); // each case from the defaults
        boot();
        Volume& v = unit->volume;
        unit->restartOnce.setEnabled(false);
        v.volume = c.volume;
        v.savedVolume = c.savedVolume;
        v.muted.set(c.muted);
        v.menuMuted.set(c.muted);
        fake.player->volumes.clear();

        run(c.op);

        EXPECT_EQ(v.volume, c.volumeAfter);
        EXPECT_EQ(v.savedVolume, c.savedAfter);
        EXPECT_EQ(v.muted.on(), c.mutedAfter);
        EXPECT_EQ(v.menuMuted.on(), c.mutedAfter);
        EXPECT_EQ(storedConfig().value(cfg::Volume),
                  QString::fromLatin1(c.line3After ? c.line3After : "15"));
        EXPECT_EQ(v.form1.volbar.on(), c.radioOverlay);
        EXPECT_EQ(v.form2.volbar.on(), c.radioOverlay || c.menuOverlay);
        EXPECT_EQ(v.form3.volbar.on(), c.webOverlay);
        if (c.radioOverlay || c.menuOverlay || c.webOverlay) {
            ASSERT_FALSE(fake.player->volumes.isEmpty());
            EXPECT_EQ(fake.player->volumes.last(), c.volumeAfter);
            const VolumeOverlay& shown =
                c.webOverlay ? v.form3 : (c.radioOverlay ? v.form1 : v.form2);
            EXPECT_EQ(shown.volumebar.value(), c.volumeAfter);
        }
        unit.reset();
    }
}

TEST_F(VolumeTest, SequenceDownToZeroThenMuteThenUpFromTheSettingsScreen)
{
    boot();
    Volume& v = unit->volume;
    v.volume = 10;
    for (int i = 0; i < 2; ++i)
        unit->seq.run(unit->hotKey(ScreenId::Form1, Qt::Key_F11, false));
    EXPECT_EQ(v.volume, 0);
    EXPECT_TRUE(v.muted.on());
    EXPECT_EQ(v.savedVolume, 0);
    // The settings screen binds no key: the radio screen's act.
    unit->seq.run(unit->hotKey(ScreenId::Form5, Qt::Key_F10, false));
    EXPECT_FALSE(v.muted.on());
    EXPECT_EQ(v.volume, 0);
    unit->seq.run(unit->hotKey(ScreenId::Form5, Qt::Key_F12, false));
    EXPECT_EQ(v.volume, 5);
    EXPECT_EQ(storedConfig().value(cfg::Volume), QStringLiteral("5"));
}

TEST_F(VolumeTest, HeldKeysRepeatTheStepsAndNoKeyActsWithAModifier)
{
    boot();
    for (ScreenId screen : kAllScreens) {
        for (int key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F11, Qt::Key_F12})
            EXPECT_TRUE(unit->hotKey(screen, key, true)) << key;
        for (int key : {Qt::Key_F1, Qt::Key_F5, Qt::Key_F10})
            EXPECT_FALSE(unit->hotKey(screen, key, true)) << key;
        EXPECT_FALSE(unit->hotKey(screen, Qt::Key_F4, false));
        for (int key : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F5, Qt::Key_F10, Qt::Key_F11,
                        Qt::Key_F12}) {
            for (Qt::KeyboardModifier m : {Qt::ControlModifier, Qt::AltModifier,
                                           Qt::ShiftModifier, Qt::MetaModifier})
                EXPECT_FALSE(unit->hotKey(screen, key, false, m)) << key << " with " << m;
            // The number pad's flag is no modifier a user holds.
            EXPECT_TRUE(unit->hotKey(screen, key, false, Qt::KeypadModifier)) << key;
        }
    }
    // A held Ctrl+F12 changes nothing.
    unit->volume.volume = 50;
    unit->seq.run(unit->hotKey(ScreenId::Form1, Qt::Key_F12, false, Qt::ControlModifier));
    EXPECT_EQ(unit->volume.volume, 50);
}

TEST_F(VolumeTest, AStepDuringTheRadioTilesWaitKeepsTheMenuOverlayItsFullTime)
{
    const QString playlist = tmp.filePath(QStringLiteral("list.m3u"));
    QFile list(playlist);
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("a.mp3\n");
    list.close();
    writeConfig(configWith({{cfg::Playlist, playlist}}));
    boot();
    unit->restartOnce.setEnabled(false);
    unit->menu.but_music();
    ASSERT_FALSE(unit->radio.radiomode.on());
    unit->screens.switchScreen(ScreenId::Form1, ScreenId::Form2);
    VolumeOverlay& overlay = unit->volume.form2;
    unit->seq.input(unit->hotKey(ScreenId::Form2, Qt::Key_F12, false));
    ASSERT_TRUE(overlay.volbar.on());
    unit->seq.input([this] { unit->menu.butRadio_click(); });
    ASSERT_TRUE(unit->seq.holding());
    overlay.voltimer.fire(); // its three seconds ran out during the wait
    unit->seq.input(unit->hotKey(ScreenId::Form2, Qt::Key_F12, false));
    unit->seq.skipWaits();
    EXPECT_TRUE(overlay.volbar.on()) << "the second step restarted the countdown";
    EXPECT_TRUE(overlay.voltimer.isEnabled());
}

TEST_F(VolumeTest, TuningWhileMutedShowsSoundOnOnTheRadioScreenOnly)
{
    boot();
    Volume& v = unit->volume;
    v.volume = 30;
    v.mute();
    unit->radio.Button2();
    EXPECT_FALSE(v.muted.on());
    EXPECT_TRUE(v.menuMuted.on());
    EXPECT_EQ(v.volume, 0);
    v.mute();
    EXPECT_EQ(v.savedVolume, 0) << "the next mute stores the silent level";
}

TEST_F(VolumeTest, StepsRestartTheCountdownAMuteToggleDoesNot)
{
    boot();
    Volume& v = unit->volume;
    v.volume = 50;
    v.Lauter1();
    ASSERT_TRUE(v.form1.voltimer.isEnabled());
    QThread::msleep(400);
    const int beforeMute = v.form1.voltimer.remainingTime();
    v.mute();
    EXPECT_LE(v.form1.voltimer.remainingTime(), beforeMute) << "a running countdown goes on";
    QThread::msleep(400);
    const int beforeStep = v.form1.voltimer.remainingTime();
    v.Lauter1();
    EXPECT_GT(v.form1.voltimer.remainingTime(), beforeStep) << "a step restarts it";

    v.form1.voltimer.fire();
    EXPECT_FALSE(v.form1.volbar.on());
    EXPECT_FALSE(v.form1.voltimer.isEnabled());
}

TEST_F(VolumeTest, MutedStateIsNotStoredOnlyTheLevel)
{
    writeConfig(configWith({{cfg::RadioMode, QStringLiteral("true")}}));
    boot();
    unit->volume.volume = 60;
    unit->volume.mute();
    EXPECT_EQ(storedConfig().value(cfg::Volume), QStringLiteral("0"));
    unit.reset();
    // The next start: level 0 and the sound-on icon.
    boot();
    unit->restartOnce.fire();
    EXPECT_EQ(unit->volume.volume, 0);
    EXPECT_FALSE(unit->volume.muted.on());
}

TEST_F(VolumeTest, BeforeTheRadioStartsTheKeysChangeNothing)
{
    start();
    for (int key : {Qt::Key_F10, Qt::Key_F11, Qt::Key_F12})
        unit->seq.run(unit->hotKey(ScreenId::Form1, key, false));
    unit->seq.run(unit->hotKey(ScreenId::Form2, Qt::Key_F12, false));
    EXPECT_EQ(unit->volume.volume, 0);
    EXPECT_FALSE(unit->volume.form1.volbar.on());
    EXPECT_FALSE(QFile::exists(dataDir + QStringLiteral("Radio.ini")));
}

TEST_F(VolumeTest, AFailingPlayerCallEndsTheStepWithAnErrorBox)
{
    boot();
    unit->restartOnce.setEnabled(false);
    unit->volume.volume = 40;
    unit->volume.muted.set(true);
    unit->volume.savedVolume = 20;
    fake.player->failing.insert(QStringLiteral("setVolume"));
    unit->seq.run(unit->hotKey(ScreenId::Form1, Qt::Key_F12, false));
    ASSERT_EQ(fake.dialogs->errors.size(), 1);
    EXPECT_TRUE(fake.dialogs->errors.first().contains(QStringLiteral("refused")));
    // The restore step ran up to the player call; the step of 5 never came.
    EXPECT_FALSE(unit->volume.muted.on());
    EXPECT_EQ(unit->volume.volume, 20);
    EXPECT_EQ(storedConfig().value(cfg::Volume), QStringLiteral("15"));
}
