// The four screens: layout, boot sequence, transitions, window mode, hot
// keys, clock and the radio presets, with the platform services faked.

#include "app/clock.h"
#include "app/datadir.h"
#include "app/headunit.h"
#include "platform/rtflines.h"
#include "screens/Unit1.h"
#include "screens/Unit2.h"
#include "screens/Unit3.h"
#include "screens/Unit5.h"
#include "settings/config.h"
#include "settings/language.h"
#include "support/fakes.h"
#include "support/headunit_fixture.h"

#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

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
        {"top-right keeps right distance", {880, 8, 392, 73}, AnchorTop | AnchorRight, big,
         {1520, 8, 392, 73}},
        {"top-right smaller", {880, 8, 392, 73}, AnchorTop | AnchorRight, small,
         {624, 8, 392, 73}},
        {"right-bottom", {1197, 629, 75, 53}, AnchorRight | AnchorBottom, big,
         {1837, 989, 75, 53}},
        {"right-bottom smaller", {1197, 629, 75, 53}, AnchorRight | AnchorBottom, small,
         {941, 509, 75, 53}},
        // Centre of (0,598 1280x122) is at 659/720 of the height.
        {"left-right stretches, vertical centre kept", {0, 598, 1280, 122},
         AnchorLeft | AnchorRight, big, {0, 928, 1920, 122}},
        {"left-right-bottom", {295, 632, 674, 57}, AnchorLeft | AnchorRight | AnchorBottom, small,
         {295, 512, 418, 57}},
        // Centre of (392,334 500x59) is at (642/1280, 363.5/720).
        {"none keeps centre fraction", {392, 334, 500, 59}, AnchorNone, big, {713, 516, 500, 59}},
        {"none smaller", {392, 334, 500, 59}, AnchorNone, small, {264, 273, 500, 59}},
        {"same size changes nothing", {201, 408, 97, 89}, AnchorNone, {1280, 720},
         {201, 408, 97, 89}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(placeRect(c.design, c.anchors, {1280, 720}, c.window), c.expected) << c.name;
}

// ------------------------------------------------------------------ clock

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

// ------------------------------------------------------------------ head unit

TEST_F(HeadUnitTest, CreatedWithTheBootImageAndTheTimersOfTheStart)
{
    start();
    EXPECT_TRUE(f1->isVisible());
    EXPECT_FALSE(f2->isVisible());
    EXPECT_EQ(f1->elements().designTop(f1->bootscreen), 0);
    EXPECT_EQ(f1->bootscreen->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(f1->version->text(), QStringLiteral("1.2.0"));
    EXPECT_TRUE(f1->cursor().shape() == Qt::BusyCursor);
    EXPECT_TRUE(f1->rdsText->text().isEmpty());
    for (UiTimer* t : {f1->preboot, f1->boot, f1->time, f1->RDStimer})
        EXPECT_TRUE(t->isEnabled());
    for (UiTimer* t : {f1->restartOnce, f1->voltimer, f1->MusicID3Check, f1->pause,
                       f1->check_PlaylistItem, f1->skip2last, f2->voltimer, f3->voltimer})
        EXPECT_FALSE(t->isEnabled());
    EXPECT_FALSE(f1->player);
}

TEST_F(HeadUnitTest, FirstStartWritesTheDefaultsAndStartsPresetOne)
{
    boot();
    ASSERT_EQ(fake.dialogs->infos,
              QStringList{QStringLiteral("Configuration couldn't be found. Creating a new one.")});
    EXPECT_EQ(storedConfig(), defaultConfigLines());
    ASSERT_TRUE(f1->player);
    EXPECT_EQ(fake.player->created, 1);
    EXPECT_EQ(fake.player->urls.value(0), defaultConfigLines().at(17));
    EXPECT_GE(fake.player->plays, 1);
    EXPECT_TRUE(f1->bootscreen->isHidden());
    EXPECT_EQ(f1->elements().designTop(f1->bootscreen), 1000);
    EXPECT_TRUE(f1->version->isHidden());
    EXPECT_FALSE(f1->lblUhrzeit->isHidden());
    EXPECT_FALSE(f1->vol_plus->isHidden());
    EXPECT_FALSE(f1->boot->isEnabled());
    EXPECT_TRUE(f1->restartOnce->isEnabled());
    EXPECT_EQ(f1->sendername->text(), QStringLiteral("1LIVE"));
    EXPECT_EQ(f2->aktSender->text(), QStringLiteral("Radio: 1LIVE"));
    EXPECT_EQ(f3->aktSender->text(), QStringLiteral("Radio: 1LIVE"));
    EXPECT_EQ(f5->version->text(), QStringLiteral("1.2.0"));
    // No language was applied: the design captions stay.
    EXPECT_EQ(f2->butback->text(), QStringLiteral("Zurück"));
    EXPECT_FALSE(f1->inWindowMode()) << "line 37 is only applied from a stored file";
    EXPECT_TRUE(fake.downloader->requested.value(0).endsWith(
        QStringLiteral("/ZelkCANBUS/Quen/version.txt")));
}

TEST_F(HeadUnitTest, SecondStartAppliesLanguageAndWindowModeFromTheFile)
{
    writeConfig(configWith({{cfg::Language, QStringLiteral("EN-US")},
                            {cfg::Fullscreen, QStringLiteral("false")},
                            {cfg::StationName1, QStringLiteral("Mein Sender")}}));
    boot();
    EXPECT_TRUE(fake.dialogs->infos.isEmpty());
    EXPECT_EQ(f2->butback->text(), QStringLiteral("Back"));
    EXPECT_EQ(f3->butback->text(), QStringLiteral("Back"));
    EXPECT_EQ(f5->Label2->text(), QStringLiteral("Exit"));
    EXPECT_EQ(f2->aktSender->text(), QStringLiteral("Radio: Mein Sender"));
    for (Screen* s : std::initializer_list<Screen*>{f1, f2, f3, f5})
        EXPECT_TRUE(s->inWindowMode());

}

TEST_F(HeadUnitTest, GermanLanguageFileReplacesTheTexts)
{
    writeConfig(configWith({{cfg::Language, QStringLiteral("DE-DE")},
                            {cfg::Fullscreen, QStringLiteral("true")}}));
    boot();
    EXPECT_EQ(f2->butback->text(), QStringLiteral("Zurück"));
    EXPECT_EQ(f1->MUI.line(7), QStringLiteral("Zurück"));
    EXPECT_EQ(f1->lab_update->text(), QStringLiteral("Installieren"));
    EXPECT_FALSE(f1->inWindowMode());
    // A code without a file keeps the list loaded last.
    f1->languageCode = QStringLiteral("FR-FR");
    f1->loadlang();
    EXPECT_EQ(f2->butback->text(), QStringLiteral("Zurück"));
}

TEST_F(HeadUnitTest, BootStepDoesNotRunAgainWhileItsMessageBoxWaits)
{
    start();
    int ticksInside = 0;
    fake.dialogs->whileOpen = [&] {
        ++ticksInside;
        f1->boot->fire(); // the boot timer ticks inside the nested loop
    };
    f1->boot->fire();
    EXPECT_EQ(ticksInside, 1);
    EXPECT_EQ(fake.dialogs->infos.size(), 1);
    EXPECT_EQ(fake.player->created, 1);
}

TEST_F(HeadUnitTest, ClosingAnyScreenStopsEveryTimerAndEndsTheProgram)
{
    for (int screen = 0; screen < 4; ++screen) {
        SCOPED_TRACE(screen);
        fake.quits = 0;
        boot();
        f1->voltimer->setEnabled(true);
        f2->voltimer->setEnabled(true);
        f3->voltimer->setEnabled(true);
        Screen* screens[] = {f1, f2, f3, f5};
        screens[screen]->close();
        EXPECT_EQ(fake.quits, 1);
        for (UiTimer* t : {f1->preboot, f1->boot, f1->restartOnce, f1->time, f1->RDStimer,
                           f1->voltimer, f2->voltimer, f3->voltimer})
            EXPECT_FALSE(t->isEnabled());
        unit.reset();
    }
}

TEST_F(HeadUnitTest, ClosingWhileTheFirstStartMessageWaitsDoesNotStartTheRadio)
{
    start();
    fake.dialogs->whileOpen = [&] { f2->close(); };
    f1->boot->fire();
    EXPECT_EQ(fake.quits, 1);
    EXPECT_FALSE(f1->player);
}

TEST_F(HeadUnitTest, TransitionsHandOverPlaceAndSize)
{
    boot();
    f1->setGeometry(100, 50, 1100, 650);
    f1->but_goto_menu();
    EXPECT_TRUE(f2->isVisible());
    EXPECT_FALSE(f1->isVisible());
    EXPECT_EQ(f2->geometry(), QRect(100, 50, 1100, 650));

    f2->sw2Setup();
    EXPECT_TRUE(f5->isVisible());
    EXPECT_FALSE(f2->isVisible());
    EXPECT_EQ(f5->geometry(), QRect(100, 50, 1100, 650));
    f5->but_back();
    EXPECT_TRUE(f2->isVisible());
    EXPECT_FALSE(f5->isVisible());

    f2->takemeback();
    EXPECT_TRUE(f1->isVisible());
    EXPECT_FALSE(f2->isVisible());
    EXPECT_EQ(f1->geometry(), QRect(100, 50, 1100, 650));
    EXPECT_TRUE(f1->bootscreen->isHidden());
    EXPECT_EQ(f1->elements().designTop(f1->bootscreen), 1000);
}

TEST_F(HeadUnitTest, WindowModeOnEveryScreenTwice)
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
        EXPECT_EQ(f1->size(), QSize(1024, 600)) << "never below the minimum";
    }
    EXPECT_TRUE(f2->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(f1->isVisible()) << "the shown screen stays shown";
}

TEST_F(HeadUnitTest, HotKeysGoToTheShownScreenElseToTheRadioScreen)
{
    boot();
    f1->volume = 50;
    f1->restartOnce->setEnabled(false);

    // F12 on the main menu: its own binding, nothing stored.
    f1->but_goto_menu();
    QTest::keyClick(f2, Qt::Key_F12);
    EXPECT_EQ(f1->volume, 55);
    EXPECT_EQ(storedConfig().value(cfg::Volume), QStringLiteral("15"));
    EXPECT_FALSE(f2->overlay.volbar->isHidden());
    EXPECT_TRUE(f1->volbar->isHidden());

    // F11 on the settings screen: the radio screen's, which stores the level.
    f2->sw2Setup();
    QTest::keyClick(f5, Qt::Key_F11);
    EXPECT_EQ(f1->volume, 50);
    EXPECT_EQ(storedConfig().value(cfg::Volume), QStringLiteral("50"));

    // F1 from the web view: the menu comes with the radio screen's place,
    // and the web view is not hidden.
    f5->but_back();
    f2->hide();
    f3->show();
    f1->setGeometry(10, 20, 1200, 700);
    QTest::keyClick(f3, Qt::Key_F1);
    EXPECT_TRUE(f2->isVisible());
    EXPECT_TRUE(f3->isVisible());
    EXPECT_EQ(f2->geometry(), QRect(10, 20, 1200, 700));

    // F10 mutes from every screen.
    QTest::keyClick(f3, Qt::Key_F10);
    EXPECT_FALSE(f1->ton0->isHidden());
    EXPECT_EQ(f1->volume, 0);
}

TEST_F(HeadUnitTest, HotKeysDuringTheBootImageAreHarmless)
{
    start();
    for (int key : {Qt::Key_F10, Qt::Key_F11, Qt::Key_F12, Qt::Key_F1, Qt::Key_F5})
        QTest::keyClick(f1, key);
    EXPECT_EQ(f1->volume, 0);
    EXPECT_FALSE(f1->player);
    EXPECT_TRUE(fake.dialogs->errors.isEmpty());
    EXPECT_FALSE(QFile::exists(dataDir + QStringLiteral("Radio.ini")));
}

TEST_F(HeadUnitTest, ClockRunsOnAllThreeScreens)
{
    start();
    f1->time_tick();
    const QString now = f1->lblUhrzeit->text();
    EXPECT_NE(now, QStringLiteral("00:00"));
    EXPECT_EQ(f2->lblUhrzeit->text(), now);
    EXPECT_EQ(f3->lblUhrzeit->text(), now);
    EXPECT_EQ(now.count(QLatin1Char(':')), 2) << now.toStdString();
}

// ------------------------------------------------------------------ presets

TEST_F(HeadUnitTest, EachPresetTunesHighlightsAndStores)
{
    boot();
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        const int playsBefore = fake.player->plays;
        f1->ButtonN(n);
        EXPECT_EQ(f1->speicher->text(), QStringLiteral("FM: %1").arg(n));
        EXPECT_EQ(f1->sendername->text(), defaultConfigLines().at(9 + n));
        EXPECT_EQ(fake.player->urls.last(), defaultConfigLines().at(16 + n));
        EXPECT_EQ(fake.player->plays, playsBefore + 1);
        EXPECT_EQ(storedConfig().value(cfg::ActiveStation), QString::number(n));
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(f1->but_1[i]->isHidden(), i != n - 1);
            EXPECT_EQ(f1->but_0[i]->isHidden(), i == n - 1);
            const QColor text = f1->prog[i]->palette().color(QPalette::WindowText);
            EXPECT_EQ(text, i == n - 1 ? QColor(Qt::white) : QColor(Qt::black));
        }
        EXPECT_EQ(f1->prog[n - 1]->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
        EXPECT_EQ(f2->aktSender->text(), QStringLiteral("Radio: ") + f1->sendername->text());
    }
    // The selected preset again restarts the same stream.
    const int plays = fake.player->plays;
    f1->Button6();
    EXPECT_EQ(fake.player->urls.last(), defaultConfigLines().at(22));
    EXPECT_EQ(fake.player->plays, plays + 1);
}

TEST_F(HeadUnitTest, ClickOnADiscOrItsNumberChoosesThePreset)
{
    boot();
    f1->show();
    QTest::mouseClick(f1->prog[2], Qt::LeftButton);
    EXPECT_EQ(f1->speicher->text(), QStringLiteral("FM: 3"));
    QTest::mouseClick(f1->but_0[4], Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(f1->speicher->text(), QStringLiteral("FM: 5"));
    // The selected disc has no action.
    const int plays = fake.player->plays;
    QTest::mouseClick(f1->but_1[4], Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(fake.player->plays, plays);
}

struct RestoreCase
{
    const char* line7;
    const char* line3;
    const char* speicher;
    int volume;
};

TEST_F(HeadUnitTest, RestoreStepTunesTheStoredPresetOnly)
{
    const RestoreCase cases[] = {
        {"3", "40", "FM: 3", 40}, {"6", "98", "FM: 6", 98}, {"7", "15", "FM: 1", 15},
        {"", "15", "FM: 1", 15},  {"3 ", "x", "FM: 1", 0},  {"1", "250", "FM: 1", 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line7);
        writeConfig(configWith({{cfg::ActiveStation, QString::fromLatin1(c.line7)},
                                {cfg::Volume, QString::fromLatin1(c.line3)},
                                {cfg::Fullscreen, QStringLiteral("true")}}));
        boot();
        const int urls = static_cast<int>(fake.player->urls.size());
        f1->restartOnce->fire();
        EXPECT_EQ(f1->speicher->text(), QString::fromLatin1(c.speicher));
        EXPECT_EQ(f1->volume, c.volume);
        EXPECT_FALSE(f1->restartOnce->isEnabled());
        const bool tuned = QString::fromLatin1(c.line7).size() == 1
                           && QString::fromLatin1(c.line7) != QLatin1String("7");
        EXPECT_EQ(fake.player->urls.size(), urls + (tuned ? 1 : 0));
        if (!tuned) {
            EXPECT_EQ(storedConfig().value(cfg::ActiveStation), QString::fromLatin1(c.line7));
        }
        EXPECT_TRUE(fake.player->volumes.isEmpty()) << "the level reaches the player later";
        unit.reset();
    }
}

TEST_F(HeadUnitTest, FailedSaveOfAPresetHighlightsButDoesNotPlay)
{
    boot();
    const int plays = fake.player->plays;
    // Root ignores permissions: a folder in the file's place makes it fail.
    QFile::remove(dataDir + QStringLiteral("Radio.ini"));
    ASSERT_TRUE(QDir().mkpath(dataDir + QStringLiteral("Radio.ini")));
    f1->show();
    QTest::mouseClick(f1->prog[3], Qt::LeftButton);
    ASSERT_EQ(fake.dialogs->errors.size(), 1);
    EXPECT_TRUE(fake.dialogs->errors.first().contains(QStringLiteral("Radio.ini")));
    EXPECT_FALSE(f1->but_1[3]->isHidden());
    EXPECT_EQ(fake.player->urls.last(), defaultConfigLines().at(20));
    EXPECT_EQ(fake.player->plays, plays);
    EXPECT_EQ(f1->config.line(cfg::ActiveStation), QStringLiteral("4"));
}

TEST_F(HeadUnitTest, BackToRadioModeResumesOnPresetOne)
{
    boot();
    f1->Button4();
    f1->radiomode = false;
    f1->savedVolume = 35;
    f1->sw2_radio();
    EXPECT_EQ(fake.player->stops, 1);
    EXPECT_EQ(fake.sleeper->sleeps, QList<int>{1000});
    EXPECT_EQ(f1->speicher->text(), QStringLiteral("FM: 1"));
    EXPECT_EQ(storedConfig().value(cfg::ActiveStation), QStringLiteral("1"));
    EXPECT_EQ(fake.player->volumes.last(), 35);
    EXPECT_TRUE(f1->but_play->isHidden());
    EXPECT_EQ(f1->Label1->text(), QStringLiteral("Radio"));
    EXPECT_TRUE(f1->RDStimer->isEnabled());
}

TEST_F(HeadUnitTest, StationTextsAreShownAsPlainText)
{
    writeConfig(configWith({{cfg::StationName1 + 1, QStringLiteral("<b>Bold</b> & <img src=x>")},
                            {cfg::Fullscreen, QStringLiteral("true")}}));
    boot();
    f1->Button2();
    EXPECT_EQ(f1->sendername->textFormat(), Qt::PlainText);
    EXPECT_EQ(f2->aktSender->textFormat(), Qt::PlainText);
    EXPECT_EQ(f1->rdsText->textFormat(), Qt::PlainText);
    EXPECT_EQ(f1->sendername->text(), QStringLiteral("<b>Bold</b> & <img src=x>"));
}
