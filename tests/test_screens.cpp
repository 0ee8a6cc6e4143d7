// The four screens as views of the head unit: layout, what each shows of
// the logic's values, switches, window mode, hot keys and captions.

#include "app/clock.h"
#include "settings/language.h"
#include "support/ui/screens_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

using namespace zelk;
using namespace zelktest;

// ------------------------------------------------------------------ layout

struct PlaceCase
{
    const char* name;
    QRect design;
    unsigned anchors;
    QSize window;
    QRect expected;
};

TEST(Layout, EachAnchorRuleAtALargerAndASmallerWindow)
{
    const QSize big(1920, 1080), small(1024, 600);
    const PlaceCase cases[] = {
        {"all sides stretch", {0, 0, 1280, 720}, AnchorAll, big, {0, 0, 1920, 1080}},
        {"all sides shrink", {10, 20, 1260, 680}, AnchorAll, small, {10, 20, 1004, 560}},
        {"top-left keeps place", {135, 8, 24, 59}, AnchorTopLeft, big, {135, 8, 24, 59}},
        {"top-right keeps right distance",
         {880, 8, 392, 73},
         AnchorTop | AnchorRight,
         big,
         {1520, 8, 392, 73}},
        {"top-right smaller", {880, 8, 392, 73}, AnchorTop | AnchorRight, small, {624, 8, 392, 73}},
        {"right-bottom", {1197, 629, 75, 53}, AnchorRight | AnchorBottom, big, {1837, 989, 75, 53}},
        {"right-bottom smaller",
         {1197, 629, 75, 53},
         AnchorRight | AnchorBottom,
         small,
         {941, 509, 75, 53}},
        // Centre of (0,598 1280x122) is at 659/720 of the height.
        {"left-right stretches, vertical centre kept",
         {0, 598, 1280, 122},
         AnchorLeft | AnchorRight,
         big,
         {0, 928, 1920, 122}},
        {"left-right-bottom",
         {295, 632, 674, 57},
         AnchorLeft | AnchorRight | AnchorBottom,
         small,
         {295, 512, 418, 57}},
        // Centre of (392,334 500x59) is at (642/1280, 363.5/720).
        {"none keeps centre fraction", {392, 334, 500, 59}, AnchorNone, big, {713, 516, 500, 59}},
        {"none smaller", {392, 334, 500, 59}, AnchorNone, small, {264, 273, 500, 59}},
        {"same size changes nothing",
         {201, 408, 97, 89},
         AnchorNone,
         {1280, 720},
         {201, 408, 97, 89}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(placeRect(c.design, c.anchors, {1280, 720}, c.window), c.expected) << c.name;
    // The settings screen's rule for the unanchored: half of the change, which
    // parts from the centre fraction for an element off the centre.
    EXPECT_EQ(placeRect({456, 40, 513, 59}, AnchorNone, {1280, 720}, small, Floating::HalfChange),
              QRect(328, -20, 513, 59));
    EXPECT_EQ(placeRect({456, 40, 513, 59}, AnchorNone, {1280, 720}, small),
              QRect(314, 28, 513, 59));
}

TEST(Clock, LongTimeFormatWithoutZone)
{
    const QTime t(14, 5, 9);
    EXPECT_EQ(clockText(t, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("14:05:09"));
    const QString us = clockText(t, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(us.startsWith(QStringLiteral("2:05:09"))) << us.toStdString();
    EXPECT_TRUE(us.endsWith(QStringLiteral("PM"))) << us.toStdString();
    for (const QLocale& l : {QLocale(QLocale::German, QLocale::Germany),
                             QLocale(QLocale::English, QLocale::UnitedStates),
                             QLocale(QLocale::French, QLocale::France)}) {
        const QString f = clockFormat(l);
        EXPECT_FALSE(f.contains(QLatin1Char('t'))) << f.toStdString();
        EXPECT_TRUE(f.contains(QLatin1Char('s'))) << f.toStdString();
    }
}

// ------------------------------------------------------------------ screens

TEST_F(ScreensTest, CreatedWithTheRadioScreenInFrontUnderTheBootImage)
{
    start();
    EXPECT_TRUE(f1->isVisible());
    for (Screen* s : std::initializer_list<Screen*>{f2, f3, f5})
        EXPECT_FALSE(s->isVisible());
    EXPECT_EQ(f1->bootscreen->geometry().topLeft(), QPoint(0, 0));
    EXPECT_FALSE(f1->bootscreen->isHidden());
    EXPECT_EQ(f1->version->text(), QStringLiteral("1.2.0"));
    EXPECT_TRUE(f1->cursor().shape() == Qt::BusyCursor);
    EXPECT_TRUE(f1->lblUhrzeit->isHidden());
    EXPECT_TRUE(f1->vol_plus->isHidden());
    EXPECT_TRUE(f1->rdsText->text().isEmpty());
    EXPECT_EQ(f1->windowTitle(), QStringLiteral("ZelkRadio"));
    EXPECT_EQ(f3->windowTitle(), QStringLiteral("Zelk Radio"));
    EXPECT_TRUE(f2->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(f3->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(f5->windowFlags() & Qt::WindowStaysOnTopHint);
}

// Every value of the logic that a screen shows, and every element that
// shows it: one set, and each element follows.
TEST_F(ScreensTest, EverySharedValueReachesEveryScreenThatShowsIt)
{
    start();
    HeadUnit& u = *unit;
    struct TextCase
    {
        const char* name;
        TextValue* value;
        std::vector<QLabel*> labels;
    };
    const TextCase texts[] = {
        {"clock", &u.clock, {f1->lblUhrzeit, f2->lblUhrzeit, f3->lblUhrzeit}},
        {"mode caption", &u.radio.Label1, {f1->Label1}},
        {"preset line", &u.radio.speicher, {f1->speicher}},
        {"station name", &u.radio.sendername, {f1->sendername}},
        {"menu now-playing", &u.radio.menuAktSender, {f2->aktSender}},
        {"web now-playing", &u.radio.webAktSender, {f3->aktSender}},
        {"station text", &u.stationText.rdsText, {f1->rdsText}},
        {"position", &u.music.timecount, {f1->timecount}},
        {"settings version", &u.settingsVersion, {f5->version}},
        {"update text", &u.update.lab_warning, {f1->lab_warning}},
        {"update cancel", &u.update.lab_cancel, {f1->lab_cancel}},
        {"update install", &u.update.lab_update, {f1->lab_update}},
    };
    for (const TextCase& c : texts) {
        SCOPED_TRACE(c.name);
        c.value->set(QStringLiteral("<b>%1</b>").arg(QLatin1String(c.name)));
        for (QLabel* l : c.labels) {
            EXPECT_EQ(l->text(), c.value->text());
            EXPECT_EQ(l->textFormat(), Qt::PlainText) << "outside texts are never markup";
        }
    }
    struct FlagCase
    {
        const char* name;
        FlagValue* value;
        std::vector<QWidget*> shownWhenOn;
        std::vector<QWidget*> hiddenWhenOn;
    };
    const FlagCase flags[] = {
        {"mute icons", &u.volume.muted, {f1->ton0}, {f1->ton1}},
        {"menu mute icons", &u.volume.menuMuted, {f2->ton0}, {f2->ton1}},
        {"radio overlay", &u.volume.form1.volbar, {f1->volbar}, {}},
        {"menu overlay", &u.volume.form2.volbar, {f2->volbar}, {}},
        {"web overlay", &u.volume.form3.volbar, {f3->volbar}, {}},
        {"started", &u.radio.started, {f1->lblUhrzeit}, {f1->version}},
        {"volume keys", &u.radio.volumeKeysShown, {f1->vol_plus, f1->vol_minus}, {}},
        {"boot image", &u.bootImage, {f1->bootscreen}, {}},
        {"transport",
         &u.music.transport,
         {f1->but_play, f1->but_pause, f1->but_stop, f1->but_skipmin, f1->but_skipplus},
         {}},
        {"progress",
         &u.music.progressShown,
         {f1->ProgressBar1, f2->ProgressBar1, f3->ProgressBar1},
         {}},
        {"update panel", &u.update.update, {f1->update_panel}, {}},
        {"installing",
         &u.update.installing,
         {f1->update_progress},
         {f1->bg_but, f1->lab_update, f1->lab_cancel}},
    };
    for (const FlagCase& c : flags) {
        SCOPED_TRACE(c.name);
        for (bool on : {true, false, true}) {
            c.value->set(on);
            for (QWidget* w : c.shownWhenOn)
                EXPECT_EQ(w->isHidden(), !on) << w->objectName().toStdString();
            for (QWidget* w : c.hiddenWhenOn)
                EXPECT_EQ(w->isHidden(), on) << w->objectName().toStdString();
        }
    }
    const std::pair<IntValue*, Gauge*> levels[] = {{&u.volume.form1.volumebar, f1->volumebar},
                                                   {&u.volume.form2.volumebar, f2->volumebar},
                                                   {&u.volume.form3.volumebar, f3->volumebar}};
    for (auto [value, gauge] : levels) {
        value->set(35);
        EXPECT_EQ(gauge->value(), 35);
        value->set(103);
        EXPECT_EQ(gauge->value(), 100) << "the gauge holds values of its range";
    }
    u.bootImage.set(false);
    EXPECT_EQ(f1->elements().designTop(f1->bootscreen), 1000);
    u.update.updateTop.set(100);
    EXPECT_EQ(f1->update_panel->geometry(), QRect(0, 100, f1->width(), f1->height()));
    u.busyCursor.set(false);
    EXPECT_TRUE(f1->cursor().shape() == Qt::ArrowCursor);
}

TEST_F(ScreensTest, PresetLookOnTheRadioScreenAndTheFirstNumberStaysTransparent)
{
    writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")}}));
    boot();
    unit->radio.Button3();
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(f1->but_1[i]->isHidden(), i != 2);
        EXPECT_EQ(f1->but_0[i]->isHidden(), i == 2);
        const QColor text = f1->prog[i]->palette().color(QPalette::WindowText);
        EXPECT_EQ(text, i == 2 ? QColor(Qt::white) : QColor(Qt::black));
        EXPECT_EQ(f1->prog[i]->autoFillBackground(), i != 0) << "prog1 draws no background";
    }
    EXPECT_EQ(f1->prog[2]->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
    unit->radio.showPresets(false);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(f1->but_1[i]->isHidden() && f1->but_0[i]->isHidden() &&
                    f1->prog[i]->isHidden());
}

TEST_F(ScreensTest, ClickOnADiscOrItsNumberChoosesThePreset)
{
    writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")}}));
    boot();
    QTest::mouseClick(f1->prog[2], Qt::LeftButton);
    EXPECT_EQ(f1->speicher->text(), QStringLiteral("FM: 3"));
    QTest::mouseClick(f1->but_0[4], Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(f1->speicher->text(), QStringLiteral("FM: 5"));
    // The selected disc has no action.
    const int plays = fake.player->plays;
    QTest::mouseClick(f1->but_1[4], Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(fake.player->plays, plays);
    // The menu's "+" acts through the radio screen.
    unit->restartOnce.setEnabled(false);
    QTest::mouseClick(f2->vol_plus, Qt::LeftButton);
    EXPECT_EQ(unit->volume.volume, 5);
    EXPECT_FALSE(f1->volbar->isHidden());
}

TEST_F(ScreensTest, TransitionsHandOverPlaceAndSize)
{
    boot();
    f1->setGeometry(100, 50, 1100, 650);
    QTest::mouseClick(f1->goto_menu, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(f2->isVisible());
    EXPECT_FALSE(f1->isVisible());
    EXPECT_EQ(f2->geometry(), QRect(100, 50, 1100, 650));

    QTest::mouseClick(f2->butSettings, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_TRUE(f5->isVisible());
    EXPECT_FALSE(f2->isVisible());
    EXPECT_EQ(f5->geometry(), QRect(100, 50, 1100, 650));
    QTest::mouseClick(f5->butback, Qt::LeftButton);
    EXPECT_TRUE(f2->isVisible());
    EXPECT_FALSE(f5->isVisible());

    QTest::mouseClick(f2->butback, Qt::LeftButton);
    EXPECT_TRUE(f1->isVisible());
    EXPECT_FALSE(f2->isVisible());
    EXPECT_EQ(f1->geometry(), QRect(100, 50, 1100, 650));
    EXPECT_TRUE(f1->bootscreen->isHidden());
    EXPECT_EQ(f1->elements().designTop(f1->bootscreen), 1000);
}

TEST_F(ScreensTest, WindowModeOnEveryScreenTwiceAndTheMinimumOuterSize)
{
    boot();
    for (int round = 0; round < 2; ++round) {
        QTest::keyClick(f1, Qt::Key_F5);
        for (Screen* s : std::initializer_list<Screen*>{f1, f2, f3, f5}) {
            EXPECT_TRUE(s->inWindowMode());
            EXPECT_EQ(s->size(), QSize(1280, 720));
            EXPECT_EQ(s->pos(), QPoint(0, 0));
            EXPECT_FALSE(s->windowFlags() & Qt::WindowMaximizeButtonHint);
            EXPECT_TRUE(s->windowFlags() & Qt::WindowCloseButtonHint);
        }
        f1->resize(900, 500);
        const QSize outer = f1->frameGeometry().size();
        EXPECT_EQ(outer, QSize(1024, 600)) << "never below the minimum, frame included";
    }
    EXPECT_TRUE(f2->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(f1->isVisible()) << "the shown screen stays shown";
}

TEST_F(ScreensTest, InWindowModeTheRadioScreenSnapsToTheDisplayEdges)
{
    boot();
    unit->chgWin();
    const QRect area = f1->screen()->availableGeometry();
    f1->move(area.left() + 6, area.top() + 4);
    EXPECT_EQ(f1->frameGeometry().topLeft(), area.topLeft());
    f1->move(area.left() + 200, area.top() + 120);
    EXPECT_EQ(f1->frameGeometry().topLeft(), area.topLeft() + QPoint(200, 120)) << "far: stays";
    f2->move(area.left() + 6, area.top() + 4);
    EXPECT_EQ(f2->frameGeometry().topLeft(), area.topLeft() + QPoint(6, 4)) << "only Form1";
}

TEST_F(ScreensTest, HotKeysReachTheLogicFromEveryScreenAndHeldVolumeKeysRepeat)
{
    writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")}}));
    boot();
    unit->restartOnce.setEnabled(false);
    unit->volume.volume = 50;
    QTest::keyClick(f1, Qt::Key_F1);
    EXPECT_TRUE(f2->isVisible());
    QTest::keyClick(f2, Qt::Key_F12);
    EXPECT_EQ(unit->volume.volume, 55);
    EXPECT_FALSE(f2->volbar->isHidden());
    EXPECT_TRUE(f1->volbar->isHidden());
    // A held key: the first press and its repeats.
    for (bool repeat : {false, true, true}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F11, Qt::NoModifier, QString(), repeat);
        QApplication::sendEvent(f2, &press);
    }
    EXPECT_EQ(unit->volume.volume, 40);
    QKeyEvent heldMute(QEvent::KeyPress, Qt::Key_F10, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(f2, &heldMute);
    EXPECT_FALSE(unit->volume.muted.on()) << "a held F10 does not toggle on and on";
    QTest::keyClick(f5, Qt::Key_F10);
    EXPECT_TRUE(unit->volume.muted.on());
    EXPECT_FALSE(f1->ton0->isHidden());
}

TEST_F(ScreensTest, LanguageCaptionsReachEveryScreen)
{
    writeConfig(configWith(
        {{cfg::Language, QStringLiteral("EN-US")}, {cfg::Fullscreen, QStringLiteral("true")}}));
    boot();
    EXPECT_EQ(f2->butback->text(), QStringLiteral("Back"));
    EXPECT_EQ(f3->butback->text(), QStringLiteral("Back"));
    EXPECT_EQ(f5->butback->text(), QStringLiteral("Back"));
    EXPECT_EQ(f5->Label2->text(), QStringLiteral("Exit"));
    EXPECT_EQ(f5->aktSender->text(), QStringLiteral("Setup"));
    EXPECT_EQ(f1->lab_update->text(), QStringLiteral("Install"));
    EXPECT_EQ(f2->aktSender->text(), QStringLiteral("Radio: 1LIVE")) << "the tune came after";
}

TEST_F(ScreensTest, WebViewBarFollowsTheLowerEdgeAndHasNoFullScreenFrame)
{
    start();
    EXPECT_EQ(f3->elements().find("Frame"), nullptr);
    unit->chgWin();
    f3->show();
    f3->resize(1024, 600);
    EXPECT_EQ(f3->Image1->geometry(), QRect(24, 616 - 120, 257, 89));
    EXPECT_EQ(f3->butback->geometry(), QRect(24, 624 - 120, 249, 65));
    EXPECT_EQ(f3->lblUhrzeit->geometry(), QRect(952 - 256, 616 - 120, 320, 73));
    EXPECT_EQ(f3->aktSender->geometry(), QRect(295, 632 - 120, 674 - 256, 57));
}

TEST_F(ScreensTest, ClosingAScreenWindowEndsTheProgram)
{
    boot();
    f3->close();
    EXPECT_EQ(fake.quits, 1);
    EXPECT_FALSE(unit->time.isEnabled());
}
