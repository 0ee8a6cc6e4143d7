// The four screens as views of the head unit: layout, what each shows of
// the logic's values, switches, window mode, hot keys and captions.

#include "app/clock.h"
#include "app/desktopservices.h"
#include "screens/messagebox.h"
#include "settings/language.h"
#include "support/ui/screens_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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

// ------------------------------------------------------------------ taps

namespace {

// Where fingers land on an element: its middle and each corner, 3 px in, in
// the coordinates of its window.
QList<QPoint> tapPoints(const QWidget* w)
{
    const QRect r(w->mapTo(w->window(), QPoint(0, 0)), w->size());
    return {r.center(), r.topLeft() + QPoint(3, 3), r.topRight() + QPoint(-3, 3),
            r.bottomLeft() + QPoint(3, -3), r.bottomRight() + QPoint(-3, -3)};
}

QRect inWindow(const QWidget* w)
{
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

QString under(Screen* s, QPoint at)
{
    const QWidget* w = s->childAt(at);
    return w ? w->objectName() : QStringLiteral("(the screen)");
}

// The design size, the smallest and a large display.
const QSize kTapSizes[] = {{1280, 720}, {1024, 600}, {1920, 1080}};

} // namespace

// Taps and pointer moves go to the screen's window at a position, as a
// finger lands, and the widget under that position takes them.
class TapTest : public ScreensTest
{
protected:
    void bootForTaps()
    {
        writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")}}));
        boot();
        unit->restartOnce.setEnabled(false);
        // The pages asked for are recorded; no browser is started.
        QObject::disconnect(&unit->web, &WebView::loadRequested, f3, nullptr);
        QObject::connect(&unit->web, &WebView::loadRequested, f3,
                         [this](const QUrl& url) { pages << url.toString(); });
    }
    void settleUnit()
    {
        waitUntil([this] { return !unit->seq.holding(); });
    }
    // The way a user goes from the screen in front to `id`.
    void bringUp(ScreenId id)
    {
        for (int step = 0; step < 3 && !ui->screen(id)->isVisible(); ++step) {
            const ScreenId front = qobject_cast<Screen*>(ui->activeScreen())->id();
            if (front == ScreenId::Form1)
                unit->but_goto_menu();
            else if (front == ScreenId::Form3)
                unit->web.butback_click();
            else if (front == ScreenId::Form5)
                unit->setup.but_back();
            else if (id == ScreenId::Form1)
                unit->menu.takemeback();
            else if (id == ScreenId::Form3)
                unit->menu.goto_Form3();
            else
                unit->menu.sw2Setup();
            settleUnit();
        }
        ASSERT_TRUE(ui->screen(id)->isVisible());
    }
    // The offscreen platform keeps a maximised window at the size of its
    // display (800x800): the screen's window is given its size as a normal
    // window. The widget may already count itself as one (a top-level's
    // setGeometry drops its maximised state) and hold a place that its
    // window never took, so both are told.
    void resizeShown(Screen* s, const QRect& geometry)
    {
        QWindow* window = s->windowHandle();
        if (window->windowStates() == Qt::WindowNoState && window->geometry() == geometry &&
            s->geometry() == geometry)
            return;
        window->setWindowStates(Qt::WindowNoState);
        QCoreApplication::processEvents();
        window->setGeometry(geometry);
        QCoreApplication::processEvents();
        s->setGeometry(geometry);
        QCoreApplication::processEvents();
        ASSERT_EQ(window->geometry(), geometry);
        ASSERT_EQ(s->geometry(), geometry);
    }
    // A timed wait that the tap began ends at once.
    void tap(Screen* s, QPoint at)
    {
        QTest::mouseClick(s->windowHandle(), Qt::LeftButton, {}, at);
        for (int turn = 0; turn < 100 && unit->seq.holding(); ++turn) {
            unit->seq.skipWaits();
            settle();
        }
    }

    QStringList pages;
};

TEST_F(TapTest, EveryTapInsideAClickableElementRunsItsOperation)
{
    using Page = Setup::Page;
    int before = 0;
    const auto page = [this] { return static_cast<Page>(unit->setup.page.value()); };
    struct TapCase
    {
        ScreenId screen;
        QString element;
        // Shows the element and undoes what an earlier tap on it did.
        std::function<void()> prepare;
        std::function<bool()> ran;
        // Clickable elements lying over parts of this one take those parts.
        QStringList coveredBy = {};
    };
    std::vector<TapCase> cases;
    const auto add = [&cases](ScreenId s, const QString& name, std::function<void()> prepare,
                              std::function<bool()> ran, QStringList coveredBy = {}) {
        cases.push_back({s, name, std::move(prepare), std::move(ran), std::move(coveredBy)});
    };
    const auto nothing = [] {};

    // The radio screen.
    void (Radio::*const presets[6])() = {&Radio::Button1, &Radio::Button2, &Radio::Button3,
                                         &Radio::Button4, &Radio::Button5, &Radio::Button6};
    for (int k = 0; k < 6; ++k) {
        const auto other = [this, &presets, k] { (unit->radio.*presets[k == 0 ? 1 : 0])(); };
        const auto chosen = [this, k] {
            return f1->speicher->text() == QStringLiteral("FM: %1").arg(k + 1);
        };
        add(ScreenId::Form1, QStringLiteral("but%1_0").arg(k + 1), other, chosen);
        add(ScreenId::Form1, QStringLiteral("prog%1").arg(k + 1), other, chosen);
    }
    add(ScreenId::Form1, "goto_menu", nothing, [this] { return f2->isVisible(); });
    for (ScreenId s : {ScreenId::Form1, ScreenId::Form2}) {
        add(
            s, "ton1",
            [this] {
                if (unit->volume.muted.on())
                    unit->volume.unmute();
            },
            [this] { return unit->volume.muted.on(); });
        add(
            s, "ton0",
            [this] {
                if (!unit->volume.muted.on())
                    unit->volume.mute();
            },
            [this] { return !unit->volume.muted.on(); });
        const auto level = [this] {
            unit->radio.volumeKeysShown.set(true);
            unit->volume.volume = 50;
        };
        add(s, "vol_plus", level, [this] { return unit->volume.volume == 55; }, {"vol_minus"});
        add(s, "vol_minus", level, [this] { return unit->volume.volume == 45; });
    }
    const std::pair<const char*, int PlayerLog::*> transport[] = {
        {"but_play", &PlayerLog::plays},
        {"but_pause", &PlayerLog::pauses},
        {"but_stop", &PlayerLog::stops},
        {"but_skipmin", &PlayerLog::previouses},
        {"but_skipplus", &PlayerLog::nexts}};
    for (auto [name, count] : transport) {
        add(
            ScreenId::Form1, name,
            [this, &before, count = count] {
                if (!unit->music.transport.on())
                    unit->music.sw2_music();
                before = (*fake.player).*count;
            },
            [this, &before, count = count] { return (*fake.player).*count == before + 1; });
    }
    add(
        ScreenId::Form1, "lab_cancel", [this] { unit->update.showUpdatePanel(); },
        [this] { return !unit->update.update.on(); });
    add(
        ScreenId::Form1, "lab_update",
        [this, &before] {
            // Ends the install that the last tap began (its download fails).
            unit->seq.skipWaits();
            settleUnit();
            unit->update.installing.set(false);
            unit->update.showUpdatePanel();
            before = static_cast<int>(fake.dialogs->infos.size());
        },
        [this, &before] {
            return fake.dialogs->infos.value(before).startsWith(unit->settings.MUI.line(24));
        });

    // The main menu.
    add(ScreenId::Form2, "butRadio", nothing, [this] { return f1->isVisible(); });
    add(
        ScreenId::Form2, "butMusic", [this] { unit->menu.exitWarning(); },
        [this] { return unit->menu.noPlaylist.on(); });
    for (const char* tile : {"butDash", "butNavi"})
        add(
            ScreenId::Form2, tile, [this] { pages.clear(); },
            [this] { return f3->isVisible() && pages.size() == 1; });
    add(ScreenId::Form2, "butSettings", nothing, [this] { return f5->isVisible(); });
    add(ScreenId::Form2, "butback", nothing, [this] { return f1->isVisible(); });
    add(
        ScreenId::Form2, "lab_cancel", [this] { unit->menu.noPlaylist.set(true); },
        [this] { return !unit->menu.noPlaylist.on(); });
    add(
        ScreenId::Form2, "lab_load", [this] { unit->menu.noPlaylist.set(true); },
        [this, page] { return f5->isVisible() && page() == Page::Music; });

    // The web view.
    add(ScreenId::Form3, "butback", nothing, [this] { return f2->isVisible(); });

    // The settings screen.
    const std::pair<const char*, Page> icons[] = {{"Image2", Page::Navi},
                                                  {"Image3", Page::Radio},
                                                  {"Image12", Page::General},
                                                  {"Image4", Page::Music},
                                                  {"Image5", Page::Dash}};
    for (auto [icon, shows] : icons)
        add(
            ScreenId::Form5, icon, [this] { unit->setup.close_tabs(); },
            [page, shows = shows] { return page() == shows; });
    add(ScreenId::Form5, "butback", nothing, [this] { return f2->isVisible(); });
    add(
        ScreenId::Form5, "Label2",
        [this] {
            // The program ended at the last tap; it is given its timers back.
            unit->seq.skipWaits();
            unit->time.setEnabled(true);
        },
        [this] { return !unit->time.isEnabled(); });
    add(
        ScreenId::Form5, "close_keyboard", [this] { unit->setup.but_show_keys(); },
        [this] { return !unit->setup.keyboardShown.on(); });

    const auto onPage = [&add, this](Page p, const QString& name, std::function<void()> extra,
                                     std::function<bool()> ran, QStringList coveredBy = {}) {
        add(
            ScreenId::Form5, name,
            [this, p, extra] {
                unit->setup.showPage(p);
                extra();
            },
            std::move(ran), std::move(coveredBy));
    };
    const auto closed = [page] { return page() == Page::None; };
    const auto keysOff = [this] { unit->setup.but_hide_keys(); };
    const auto keysOn = [this] { return unit->setup.keyboardShown.on(); };
    const std::pair<const char*, QString> mapButtons[] = {{"Button2", maps::Ets2},
                                                          {"Button1", maps::GtaV},
                                                          {"Button3", maps::Minecraft},
                                                          {"Button4", maps::Tdu}};
    for (const auto& [button, address] : mapButtons)
        onPage(
            Page::Navi, button, [this] { unit->settings.live.URL.set(QStringLiteral("x")); },
            [this, address = address] { return unit->settings.live.URL.text() == address; });
    onPage(Page::Navi, "URL", keysOff, keysOn);
    for (const char* button : {"Button7", "Button9"})
        onPage(Page::Navi, button, nothing, closed);
    for (int i = 1; i <= 6; ++i)
        for (const char* field : {"rname", "rurl", "rdsurl"})
            onPage(Page::Radio, QStringLiteral("%1%2").arg(QLatin1String(field)).arg(i), keysOff,
                   keysOn);
    for (const char* button : {"Button5", "Button6"})
        onPage(Page::Radio, button, nothing, closed);
    for (const char* button : {"Button10", "Button11"})
        onPage(Page::General, button, nothing, closed);
    const auto focused = [this](const char* name) {
        return [this, name] {
            QWidget* w = f5->elements().find(name);
            return w && f5->focusWidget() == w;
        };
    };
    const auto unfocus = [this](const char* name) {
        return [this, name] {
            unit->settings.live.windowSizeEnabled.set(true);
            f5->lang->hidePopup();
            if (QWidget* w = f5->elements().find(name))
                w->clearFocus();
        };
    };
    for (const char* name : {"lang", "aufl_x", "aufl_y"})
        onPage(Page::General, name, unfocus(name), focused(name));
    for (bool full : {true, false})
        onPage(
            Page::General, full ? "fullscreen_true" : "fullscreen_false",
            [this, full] { unit->settings.live.selectFullscreen(!full); },
            [this, full] { return unit->settings.live.fullscreen_false.on() != full; });
    const std::pair<const char*, FlagValue LiveSettings::*> boxes[] = {
        {"show_music_in_title", &LiveSettings::show_music_in_title},
        {"auto_changemode", &LiveSettings::auto_changemode},
        {"mute_Settings", &LiveSettings::mute_Settings},
        {"CB_aufl_chgbl", &LiveSettings::CB_aufl_chgbl},
        {"autoplay_last", &LiveSettings::autoplay_last},
        {"onlyatreboot", &LiveSettings::onlyatreboot},
        {"also_visible", &LiveSettings::also_visible}};
    // Each of the first three boxes reaches under the top of the next one.
    const auto nextBox = [](std::string_view name) -> QStringList {
        if (name == "show_music_in_title")
            return {QStringLiteral("auto_changemode")};
        if (name == "auto_changemode")
            return {QStringLiteral("mute_Settings")};
        return {};
    };
    for (auto [name, flag] : boxes) {
        const bool general = std::string_view(name) != "autoplay_last" &&
                             std::string_view(name) != "onlyatreboot" &&
                             std::string_view(name) != "also_visible";
        onPage(
            general ? Page::General : Page::Music, name,
            [this, flag = flag] {
                unit->settings.live.windowSizeEnabled.set(true);
                (unit->settings.live.*flag).set(false);
            },
            [this, flag = flag] { return (unit->settings.live.*flag).on(); }, nextBox(name));
    }
    onPage(
        Page::General, "but_about", [this] { unit->setup.aboutShown.set(false); },
        [this] { return unit->setup.aboutShown.on(); });
    onPage(
        Page::Music, "but_playlist", [this] { unit->setup.chooserShown.set(false); },
        [this] { return unit->setup.chooserShown.on(); });
    onPage(
        Page::Music, "Button15", [this] { unit->setup.chooserShown.set(true); },
        [this] { return !unit->setup.chooserShown.on(); });
    for (const char* button : {"Button8", "but_save_music"})
        onPage(Page::Music, button, nothing, closed);
    onPage(Page::Dash, "DashURL", unfocus("DashURL"), focused("DashURL"));
    onPage(
        Page::Dash, "Button14",
        [this] {
            fake.shell->clipboard = QStringLiteral("http://127.0.0.1:9/dash");
            unit->settings.live.DashURL.set(QStringLiteral("x"));
        },
        [this] { return unit->settings.live.DashURL.text() == fake.shell->clipboard; });
    for (const char* button : {"Button12", "Button13"})
        onPage(Page::Dash, button, nothing, closed);
    add(
        ScreenId::Form5, "lab_visit",
        [this] {
            unit->setup.aboutShown.set(true);
            fake.shell->browser = QStringLiteral("/usr/bin/a-browser");
            fake.shell->started.clear();
        },
        [this] { return fake.shell->started.size() == 1; });
    add(
        ScreenId::Form5, "lab_close", [this] { unit->setup.aboutShown.set(true); },
        [this] { return !unit->setup.aboutShown.on(); });

    for (const TapCase& c : cases) {
        bootForTaps();
        for (QSize size : kTapSizes) {
            for (int point = 0; point < 5; ++point) {
                SCOPED_TRACE(QStringLiteral("%1 at %2x%3, point %4")
                                 .arg(c.element)
                                 .arg(size.width())
                                 .arg(size.height())
                                 .arg(point)
                                 .toStdString());
                bringUp(c.screen);
                Screen* s = ui->screen(c.screen);
                resizeShown(s, QRect(QPoint(0, 0), size));
                c.prepare();
                settleUnit();
                QWidget* w = s->elements().find(c.element.toLatin1().constData());
                ASSERT_NE(w, nullptr);
                ASSERT_TRUE(w->isVisible());
                const QPoint at = tapPoints(w)[point];
                // A corner outside the window cannot be tapped.
                if (!s->rect().contains(at))
                    continue;
                bool covered = false;
                for (const QString& name : c.coveredBy)
                    if (QWidget* over = s->elements().find(name.toLatin1().constData()))
                        covered |= over->isVisible() && inWindow(over).contains(at);
                if (covered)
                    continue;
                const QString receiver = under(s, at);
                tap(s, at);
                EXPECT_TRUE(c.ran()) << "the tap at " << at.x() << "," << at.y() << " went to "
                                     << receiver.toStdString();
            }
        }
    }
}

TEST_F(TapTest, TheMenuCaptionLetsTapsAndThePointerThroughToTheTilesUnderIt)
{
    bootForTaps();
    EXPECT_EQ(f2->elements().layoutOf(f2->mainLabel)->designRect(f2->mainLabel),
              QRect(272, 344, 737, 123));
    const std::pair<ArtWidget*, int> tiles[] = {{f2->butRadio, 1},
                                                {f2->butMusic, 3},
                                                {f2->butDash, 4},
                                                {f2->butNavi, 5},
                                                {f2->butSettings, 6}};
    for (QSize size : kTapSizes) {
        bringUp(ScreenId::Form2);
        resizeShown(f2, QRect(QPoint(0, 0), size));
        // Over the backdrop only: the middle of the top edge.
        const QPoint away(size.width() / 2, 40);
        for (auto [tile, line] : tiles) {
            for (const QPoint& at : tapPoints(tile)) {
                SCOPED_TRACE(QStringLiteral("%1 at %2x%3, %4,%5")
                                 .arg(tile->objectName())
                                 .arg(size.width())
                                 .arg(size.height())
                                 .arg(at.x())
                                 .arg(at.y())
                                 .toStdString());
                QTest::mouseMove(f2->windowHandle(), away);
                unit->menu.mainLabel.set(QStringLiteral("-"));
                QTest::mouseMove(f2->windowHandle(), at);
                EXPECT_EQ(f2->mainLabel->text(), unit->settings.MUI.line(line));
            }
        }
        // Leaving a tile keeps its name.
        QTest::mouseMove(f2->windowHandle(), away);
        EXPECT_EQ(f2->mainLabel->text(), unit->settings.MUI.line(6));
    }
}

TEST_F(ScreensTest, TransportDiscsAreDrawnAtTheirOwnSizeInTheTopLeftOfTheirBoxes)
{
    start();
    unit->music.transport.set(true);
    for (ArtWidget* b :
         {f1->but_skipmin, f1->but_pause, f1->but_play, f1->but_stop, f1->but_skipplus}) {
        SCOPED_TRACE(b->objectName().toStdString());
        ASSERT_EQ(b->size(), QSize(97, 89));
        QImage drawn(b->size(), QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        b->render(&drawn, QPoint(), QRegion(), QWidget::DrawChildren);
        // Columns and rows that the disc touches.
        int left = drawn.width(), right = -1, top = drawn.height(), bottom = -1;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                if (qAlpha(drawn.pixel(x, y)) == 0)
                    continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        EXPECT_LE(left, 1);
        EXPECT_GE(right, 87);
        EXPECT_LE(right, 88) << "the last 8 columns of the box stay empty";
        EXPECT_LE(top, 1);
        EXPECT_GE(bottom, 87);
        // Round: as wide as it is high, centred in the 89x89 square.
        EXPECT_NEAR((left + right) / 2.0, 44, 1.0);
        EXPECT_NEAR((top + bottom) / 2.0, 44, 1.0);
        // The disc's white face is in the middle of that square.
        EXPECT_GT(qGray(drawn.pixel(44, 20)), 200);
    }
}

// ------------------------------------------------------------------ messages

TEST_F(TapTest, MessagesStandInTheMiddleOfTheShownScreenAndATapOnOkClosesThem)
{
    bootForTaps();
    WidgetDialogs dialogs;
    dialogs.setParentSource([this] { return ui->activeScreen(); });
    const QString update =
        unit->settings.MUI.line(24) + QStringLiteral(" 1.3.0 ") + unit->settings.MUI.line(25);
    struct MessageCase
    {
        const char* name;
        ScreenId screen;
        QRect geometry;
        const char* element; // tapped while the box is open: it must not act
        QString text;
        bool error;
    };
    const MessageCase cases[] = {
        {"first start over the radio screen",
         ScreenId::Form1,
         {0, 0, 1280, 720},
         "goto_menu",
         unit->settings.MUI.line(38),
         false},
        {"error over a moved menu",
         ScreenId::Form2,
         {100, 50, 1100, 650},
         "butback",
         QStringLiteral("Cannot write /home/user/.local/share/a-very-long-folder-name-without-"
                        "any-blank-in-it/Tovemark/Zelk_Quen/Radio.ini: Permission denied"),
         true},
        {"update message over a large settings screen",
         ScreenId::Form5,
         {0, 0, 1920, 1080},
         "butback",
         update,
         false},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.name);
        bringUp(c.screen);
        Screen* s = ui->screen(c.screen);
        resizeShown(s, c.geometry);

        int ticks = 0;
        int ticksAtTap = -1;
        bool found = false;
        QString text;
        QRect box;
        QRect screenAt;
        QSize ok;
        bool screenActed = true;
        QTimer heartbeat;
        heartbeat.callOnTimeout([&ticks] { ++ticks; });
        heartbeat.start(10);
        QTimer look;
        look.setSingleShot(true);
        look.callOnTimeout([&] {
            auto* m = qobject_cast<HeadUnitMessage*>(QApplication::activeModalWidget());
            found = m != nullptr;
            if (!m)
                return;
            text = m->text();
            box = m->geometry();
            screenAt = s->geometry();
            ok = m->okButton()->size();
        });
        look.start(0);
        QTimer press;
        press.setSingleShot(true);
        press.callOnTimeout([&] {
            auto* m = qobject_cast<HeadUnitMessage*>(QApplication::activeModalWidget());
            if (!m)
                return;
            QWidget* under = s->elements().find(c.element);
            QTest::mouseClick(s->windowHandle(), Qt::LeftButton, {}, inWindow(under).center());
            screenActed = !s->isVisible();
            ticksAtTap = ticks;
            QTest::mouseClick(m->windowHandle(), Qt::LeftButton, {},
                              m->okButton()->geometry().center());
        });
        press.start(200);
        // Should the tap miss, the box is closed all the same.
        QTimer guard;
        guard.setSingleShot(true);
        guard.callOnTimeout([] {
            if (QWidget* m = QApplication::activeModalWidget())
                m->close();
        });
        guard.start(5000);

        QElapsedTimer open;
        open.start();
        if (c.error)
            dialogs.error(c.text);
        else
            dialogs.information(c.text);
        EXPECT_LT(open.elapsed(), 4000) << "closed by the tap on OK";
        ASSERT_TRUE(found);
        EXPECT_EQ(text, c.text);
        EXPECT_GE(ok.width(), 120);
        EXPECT_GE(ok.height(), 56);
        EXPECT_EQ(screenAt.size(), c.geometry.size());
        EXPECT_LE(std::abs(box.center().x() - screenAt.center().x()), 1);
        EXPECT_LE(std::abs(box.center().y() - screenAt.center().y()), 1);
        EXPECT_TRUE(screenAt.contains(box));
        EXPECT_FALSE(screenActed) << "the screen under the box takes no taps";
        EXPECT_GE(ticksAtTap, 5) << "timers tick while the box is open";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

// A text that does not fit the design height makes the box taller, within
// the screen, and every line stays inside it.
TEST_F(ScreensTest, ALongMessageGrowsTheBoxAndBreaksWithinIt)
{
    start();
    const QString shortText = QStringLiteral("These new settings apply after a program restart.");
    const QString longText = QString(QStringLiteral("/a-folder")).repeated(60);
    HeadUnitMessage small(shortText, f1);
    HeadUnitMessage tall(longText, f1);
    EXPECT_EQ(small.size(), QSize(537, 353));
    EXPECT_GT(tall.height(), small.height());
    EXPECT_LE(tall.height(), f1->height());
    EXPECT_LE(tall.textRect().right(), tall.width() - 1);
    EXPECT_LT(tall.textRect().bottom(), tall.okButton()->geometry().top());
    EXPECT_LT(small.textRect().bottom(), small.okButton()->geometry().top());
}
