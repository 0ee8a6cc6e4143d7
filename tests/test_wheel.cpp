// Wheel and button-box buttons: SDL's virtual devices go through SDL's real
// event path into the unit's actions, bindings and Buttons.ini.

#include "controls/wheelbuttons.h"
#include "platform/sdljoysticks.h"
#include "support/core_fixture.h"
#include "support/virtualwheel.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <SDL.h>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace zelk;
using namespace zelktest;

using zelktest::VirtualWheel;

class WheelTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        const QString playlist = tmp.filePath(QStringLiteral("list.m3u"));
        QFile list(playlist);
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write("a.mp3\n");
        list.close();
        writeConfig(configWith({{cfg::Playlist, playlist}, {cfg::Volume, QStringLiteral("50")}}));
    }
    void bootWithDevices()
    {
        fake.makeJoysticks = [this] {
            auto source = std::make_unique<SdlJoysticks>();
            sdl = source.get();
            return source;
        };
        boot();
        unit->restartOnce.setEnabled(false);
    }
    // Lets SDL deliver what the virtual devices did.
    void pump()
    {
        sdl->pump();
        settle();
    }
    void press(VirtualWheel& w, int b)
    {
        w.button(b, true);
        pump();
        w.button(b, false);
        pump();
    }
    void bind(WheelAction action, VirtualWheel& w, int b)
    {
        unit->wheel.beginCapture(action);
        press(w, b);
        ASSERT_FALSE(unit->wheel.capturing.on());
        ASSERT_TRUE(unit->wheel.binding(action));
    }
    QString line(int n) const { return storedConfig().value(n); }

    SdlJoysticks* sdl = nullptr;
};

TEST_F(WheelTest, EveryActionRunsItsOperation)
{
    bootWithDevices();
    VirtualWheel wheel;
    ASSERT_TRUE(wheel.ok()) << SDL_GetError();
    pump();
    ASSERT_EQ(sdl->devices().size(), 1);
    EXPECT_EQ(sdl->devices().first().name, QStringLiteral("Test Wheel"));

    for (int a = 0; a < 12; ++a)
        bind(static_cast<WheelAction>(a), wheel, a);
    // Twelve buttons, fifteen actions: the last three go on the hat.
    const std::pair<WheelAction, Uint8> onHat[] = {{WheelAction::NextTitle, SDL_HAT_UP},
                                                   {WheelAction::PreviousTitle, SDL_HAT_DOWN},
                                                   {WheelAction::PlayPause, SDL_HAT_RIGHT}};
    for (auto [action, dir] : onHat) {
        unit->wheel.beginCapture(action);
        wheel.hat(dir);
        pump();
        wheel.hat(SDL_HAT_CENTERED);
        pump();
        ASSERT_TRUE(unit->wheel.binding(action));
        EXPECT_EQ(unit->wheel.binding(action)->kind, ControlId::Kind::Hat);
    }

    const auto pressAction = [&](WheelAction a) {
        const int n = static_cast<int>(a);
        if (n < 12) {
            press(wheel, n);
        } else {
            const Uint8 dir = onHat[n - 12].second;
            wheel.hat(dir);
            pump();
            wheel.hat(SDL_HAT_CENTERED);
            pump();
        }
    };

    pressAction(WheelAction::Preset3);
    EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("3"));
    pressAction(WheelAction::NextPreset);
    EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("4"));
    pressAction(WheelAction::Preset6);
    pressAction(WheelAction::NextPreset);
    EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("1")) << "after 6 comes 1";
    pressAction(WheelAction::PreviousPreset);
    EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("6")) << "before 1 comes 6";
    unit->settings.config.setLine(cfg::ActiveStation, QStringLiteral("9"));
    pressAction(WheelAction::NextPreset);
    EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("1")) << "from outside 1..6 next is 1";

    unit->volume.volume = 50;
    pressAction(WheelAction::VolumeUp);
    EXPECT_EQ(line(cfg::Volume), QStringLiteral("55"));
    pressAction(WheelAction::VolumeDown);
    pressAction(WheelAction::VolumeDown);
    EXPECT_EQ(line(cfg::Volume), QStringLiteral("45"));
    pressAction(WheelAction::Mute);
    EXPECT_TRUE(unit->volume.muted.on());
    pressAction(WheelAction::Mute);
    EXPECT_FALSE(unit->volume.muted.on());

    pressAction(WheelAction::MainMenu);
    EXPECT_EQ(unit->screens.current(), ScreenId::Form2);

    // Music mode: titles and play/pause; a preset goes back to radio first.
    unit->menu.but_music();
    ASSERT_FALSE(unit->radio.radiomode.on());
    const int nexts = fake.player->nexts;
    pressAction(WheelAction::NextTitle);
    pressAction(WheelAction::PreviousTitle);
    EXPECT_EQ(fake.player->nexts, nexts + 1);
    EXPECT_EQ(fake.player->previouses, 1);
    fake.player->state = MediaPlayer::State::Playing;
    pressAction(WheelAction::PlayPause);
    EXPECT_EQ(fake.player->pauses, 1);

    unit->screens.switchScreen(ScreenId::Form1, ScreenId::Form3); // the map, say
    pressAction(WheelAction::Preset2);
    unit->seq.skipWaits();
    EXPECT_TRUE(unit->radio.radiomode.on());
    EXPECT_EQ(line(cfg::RadioMode), QStringLiteral("true"));
    EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("2"));
    EXPECT_EQ(unit->screens.current(), ScreenId::Form3) << "the shown screen stays";
}

TEST_F(WheelTest, CapturingTakesOnlyAPressRunsNothingAndMovesAButton)
{
    bootWithDevices();
    VirtualWheel wheel;
    ASSERT_TRUE(wheel.ok());
    pump();
    const QString before = line(cfg::ActiveStation);

    unit->wheel.beginCapture(WheelAction::Preset4);
    wheel.axis(30000); // an axis is no button
    pump();
    EXPECT_TRUE(unit->wheel.capturing.on());
    wheel.button(5, true);
    pump();
    EXPECT_FALSE(unit->wheel.capturing.on());
    wheel.button(5, false);
    pump();
    EXPECT_EQ(line(cfg::ActiveStation), before) << "the capturing press tuned nothing";
    EXPECT_EQ(unit->wheel.binding(WheelAction::Preset4)->index, 5);

    // The same button for another action leaves the first.
    bind(WheelAction::Preset5, wheel, 5);
    EXPECT_FALSE(unit->wheel.binding(WheelAction::Preset4));
    press(wheel, 5);
    EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("5"));
    // An action has one button: a new one replaces the old.
    bind(WheelAction::Preset5, wheel, 7);
    press(wheel, 5);
    press(wheel, 2);
    EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("5"));
    unit->seq.run([this] { unit->radio.Button1(); });
    press(wheel, 7);
    EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("5"));

    // Cancel, and the time running out, end a capture with nothing bound.
    unit->wheel.beginCapture(WheelAction::Mute);
    unit->wheel.cancelCapture();
    press(wheel, 9);
    EXPECT_FALSE(unit->wheel.binding(WheelAction::Mute));
    unit->wheel.setCaptureTimeout(50);
    unit->wheel.beginCapture(WheelAction::Mute);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !unit->wheel.capturing.on(); }, 2000));
    press(wheel, 9);
    EXPECT_FALSE(unit->wheel.binding(WheelAction::Mute));

    unit->wheel.clear(WheelAction::Preset5);
    EXPECT_FALSE(unit->wheel.binding(WheelAction::Preset5));
    unit->seq.run([this] { unit->radio.Button1(); });
    press(wheel, 7);
    EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("1"));
}

TEST_F(WheelTest, StepsRepeatWhileHeldTogglesDoNot)
{
    bootWithDevices();
    VirtualWheel wheel;
    ASSERT_TRUE(wheel.ok());
    pump();
    bind(WheelAction::VolumeDown, wheel, 0);
    bind(WheelAction::Mute, wheel, 1);
    unit->volume.volume = 100;

    wheel.button(0, true);
    pump();
    EXPECT_EQ(unit->volume.volume, 95);
    QTest::qWait(WheelButtons::kRepeatDelayMs + 5 * WheelButtons::kRepeatIntervalMs + 50);
    wheel.button(0, false);
    pump();
    const int held = unit->volume.volume;
    // One step at the press, one after 500 ms, then one every 100 ms.
    EXPECT_LE(held, 95 - 5 * 5);
    EXPECT_GE(held, 95 - 7 * 5);
    QTest::qWait(300);
    EXPECT_EQ(unit->volume.volume, held) << "released: no more steps";

    wheel.button(1, true);
    pump();
    QTest::qWait(WheelButtons::kRepeatDelayMs + 300);
    wheel.button(1, false);
    pump();
    EXPECT_TRUE(unit->volume.muted.on()) << "one toggle, however long held";
}

TEST_F(WheelTest, DevicesComeBackAfterAReplugAndTwinsAreToldApart)
{
    bootWithDevices();
    auto first = std::make_unique<VirtualWheel>("Twin Box");
    auto second = std::make_unique<VirtualWheel>("Twin Box");
    ASSERT_TRUE(first->ok() && second->ok());
    pump();
    ASSERT_EQ(sdl->devices().size(), 2);
    EXPECT_EQ(sdl->devices().at(0).order + sdl->devices().at(1).order, 1);

    bind(WheelAction::Preset2, *first, 0);
    bind(WheelAction::Preset3, *second, 0);
    EXPECT_NE(unit->wheel.binding(WheelAction::Preset2)->order,
              unit->wheel.binding(WheelAction::Preset3)->order);
    press(*second, 0);
    EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("3"));
    press(*first, 0);
    EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("2"));

    // Unplugged and plugged in again (a new SDL device): the binding holds.
    second.reset();
    pump();
    EXPECT_EQ(sdl->devices().size(), 1);
    second = std::make_unique<VirtualWheel>("Twin Box");
    pump();
    ASSERT_EQ(sdl->devices().size(), 2);
    press(*second, 0);
    EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("3"));
}

TEST_F(WheelTest, BindingsSurviveARestartAndABadFileMeansNone)
{
    const QString ini = dataDir + QStringLiteral("Buttons.ini");
    {
        bootWithDevices();
        VirtualWheel wheel;
        pump();
        bind(WheelAction::Preset6, wheel, 3);
        unit->wheel.beginCapture(WheelAction::VolumeUp);
        wheel.hat(SDL_HAT_LEFT);
        pump();
        wheel.hat(SDL_HAT_CENTERED);
        pump();
        unit.reset();
    }
    ASSERT_TRUE(QFile::exists(ini));
    {
        bootWithDevices();
        VirtualWheel wheel;
        pump();
        ASSERT_TRUE(unit->wheel.binding(WheelAction::Preset6));
        EXPECT_EQ(unit->wheel.binding(WheelAction::Preset6)->index, 3);
        EXPECT_EQ(unit->wheel.binding(WheelAction::VolumeUp)->direction, ControlId::Left);
        EXPECT_EQ(unit->wheel.bindingText(WheelAction::VolumeUp, false),
                  QStringLiteral("Test Wheel: Hat 1 left"));
        EXPECT_EQ(unit->wheel.bindingText(WheelAction::Preset6, true),
                  QStringLiteral("Test Wheel: Taste 4"));
        press(wheel, 3);
        EXPECT_EQ(line(cfg::ActiveStation), QStringLiteral("6"));
        unit.reset();
    }

    const QByteArray damaged[] = {
        QByteArray("\x00\xff\xfe garbage [[[", 16),
        "[preset_1]\nguid=\nindex=2\nkind=button\norder=0\n",
        "[preset_1]\nguid=abc\nindex=-4\nkind=button\norder=0\n",
        "[preset_1]\nguid=abc\nindex=2\nkind=wheel\norder=0\n",
        "[preset_1]\nguid=abc\nindex=two\nkind=button\norder=0\n",
    };
    for (const QByteArray& bytes : damaged) {
        SCOPED_TRACE(bytes.toStdString());
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        bootWithDevices();
        for (int a = 0; a < kWheelActionCount; ++a)
            EXPECT_FALSE(unit->wheel.binding(static_cast<WheelAction>(a)));
        unit.reset();
    }
    // A folder in the file's place: no bindings, and a bind is no crash.
    QFile::remove(ini);
    QDir().mkpath(ini);
    bootWithDevices();
    VirtualWheel wheel;
    pump();
    unit->wheel.beginCapture(WheelAction::Mute);
    press(wheel, 0);
    press(wheel, 0);
    EXPECT_TRUE(unit->volume.muted.on());
}

TEST_F(WheelTest, WithoutDeviceSupportTheUnitRunsAsBefore)
{
    boot(); // no joystick source at all
    EXPECT_EQ(unit->joysticks, nullptr);
    unit->wheel.beginCapture(WheelAction::Mute);
    unit->wheel.cancelCapture();
    EXPECT_FALSE(unit->wheel.binding(WheelAction::Mute));
    unit->seq.run(unit->hotKey(ScreenId::Form1, Qt::Key_F10, false));
    EXPECT_TRUE(unit->volume.muted.on());
}

TEST_F(WheelTest, BeforeTheRadioStartsPresetsDoNothing)
{
    fake.makeJoysticks = [this] {
        auto source = std::make_unique<SdlJoysticks>();
        sdl = source.get();
        return source;
    };
    start();
    VirtualWheel wheel;
    pump();
    unit->wheel.beginCapture(WheelAction::Preset3);
    press(wheel, 0);
    press(wheel, 0);
    EXPECT_FALSE(unit->player);
    EXPECT_NE(line(cfg::ActiveStation), QStringLiteral("3"));
}

namespace {
// Presses a test chooses, without any device.
class ScriptedSource : public JoystickSource
{
public:
    QList<JoystickDevice> devices() const override { return {}; }
    void press(const ControlId& c) { Q_EMIT pressed(c); }
};
} // namespace

// Killed in the middle of writing its bindings, over and over: the file left
// behind is always a whole one.
TEST(WheelFile, KilledWhileWritingLeavesAWholeFile)
{
    ensureCoreApp();
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Buttons.ini"));
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            Sequencer seq(nullptr);
            ScriptedSource source;
            WheelButtons wheel(seq, &source, ini, {});
            for (int i = 0;; ++i) {
                wheel.beginCapture(static_cast<WheelAction>(i % kWheelActionCount));
                source.press({QStringLiteral("guid-%1").arg(i % 7), QStringLiteral("Box"), 0,
                              ControlId::Kind::Button, i % 40, 0});
            }
        }
        QTest::qWait(30 + 25 * round);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(QFile::exists(ini));
        QSettings check(ini, QSettings::IniFormat);
        ASSERT_EQ(check.status(), QSettings::NoError);
        const QStringList groups = check.childGroups();
        EXPECT_FALSE(groups.isEmpty());
        for (const QString& g : groups) {
            check.beginGroup(g);
            EXPECT_TRUE(check.value(QStringLiteral("guid")).toString().startsWith(u"guid-")) << g.toStdString();
            EXPECT_EQ(check.value(QStringLiteral("kind")).toString(), QStringLiteral("button"));
            check.endGroup();
        }
        // And the unit reads it back whole.
        Sequencer seq(nullptr);
        WheelButtons wheel(seq, nullptr, ini, {});
        int bound = 0;
        for (int a = 0; a < kWheelActionCount; ++a)
            bound += wheel.binding(static_cast<WheelAction>(a)) ? 1 : 0;
        EXPECT_EQ(bound, groups.size());
    }
}
