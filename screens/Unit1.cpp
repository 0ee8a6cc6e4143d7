#include "screens/Unit1.h"

#include "app/headunit.h"

#include "platform/log.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QProgressBar>
#include <QTimer>

namespace zelk {

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kSelectedGrey(0x80, 0x80, 0x80);

// Top-left corners of the preset discs and of their number labels.
constexpr QPoint kDiscAt[6] = {{201, 408}, {296, 264}, {455, 156},
                               {742, 156}, {898, 264}, {991, 408}};
constexpr QPoint kDigitAt[6] = {{233, 424}, {329, 280}, {488, 172},
                                {775, 172}, {931, 280}, {1024, 424}};
const char* const kDiscOn[6] = {"but1_1", "but2_1", "but3_1", "but4_1", "but5_1", "but6_1"};
const char* const kDiscOff[6] = {"but1_0", "but2_0", "but3_0", "but4_0", "but5_0", "but6_0"};
const char* const kDigit[6] = {"prog1", "prog2", "prog3", "prog4", "prog5", "prog6"};

// The radio screen, from the bottom up: each element is drawn over the ones
// before it.
// clang-format off
QList<Element> radioScreenElements()
{
    QList<Element> e;
    e.append({"Image1", Kind::Image, {0, 0, 1280, 720}, AnchorAll, artLook("radio_bg"), {}});
    e.append({"lblUhrzeit", Kind::Label, {880, 8, 392, 73}, AnchorTop | AnchorRight,
              textLook(64, Qt::AlignRight | Qt::AlignVCenter), QStringLiteral("00:00"), false});
    e.append({"Label1", Kind::Label, {296, 629, 689, 70}, AnchorNone, textLook(48),
              QStringLiteral("Radio")});
    for (int i = 0; i < 6; ++i)
        e.append({kDiscOn[i], Kind::Image, {kDiscAt[i], QSize(97, 89)}, AnchorNone,
                  artLook("preset_on"), {}});
    for (int i = 0; i < 6; ++i)
        e.append({kDiscOff[i], Kind::Image, {kDiscAt[i], QSize(97, 89)}, AnchorNone,
                  artLook("preset_off", true), {}, i != 0});
    for (int i = 0; i < 6; ++i) {
        Look digit = clickable(textLook(48, Qt::AlignCenter, i == 0 ? Qt::white : Qt::black));
        if (i != 0)
            digit.background = Qt::white;
        e.append({kDigit[i], Kind::Label, {kDigitAt[i], QSize(24, 59)}, AnchorNone, digit,
                  QString::number(i + 1)});
    }
    e.append({"speicher", Kind::Label, {392, 334, 500, 59}, AnchorNone, textLook(35),
              QStringLiteral("FM: 1")});
    e.append({"sendername", Kind::Label, {343, 393, 602, 83}, AnchorNone,
              bold(wrapped(textLook(37))), QStringLiteral("Suchen...")});
    e.append({"ton1", Kind::Image, {24, 18, 105, 105}, AnchorTopLeft, artLook("speaker_on", true), {}});
    e.append({"ton0", Kind::Image, {24, 18, 105, 105}, AnchorTopLeft, artLook("speaker_off", true),
              {}, false});
    e.append({"bootscreen", Kind::Image, {0, 1000, 1280, 720}, AnchorAll, covering(artLook("boot")), {}});
    e.append({"goto_menu", Kind::Image, {956, 598, 316, 114}, AnchorNone, clickable(Look{}), {}});
    Look station = wrapped(textLook(29));
    station.greyed = true;
    e.append({"rdsText", Kind::Label, {296, 482, 689, 70}, AnchorNone, station, {}});
    e.append({"version", Kind::Label, {1197, 629, 75, 53}, AnchorRight | AnchorBottom,
              textLook(27, Qt::AlignCenter, kSilver), kProgramVersion});
    e.append({"vol_plus", Kind::Label, {135, 8, 24, 59}, AnchorTopLeft, clickable(textLook(48)),
              QStringLiteral("+"), false});
    e.append({"vol_minus", Kind::Label, {135, 44, 24, 37}, AnchorTopLeft, clickable(textLook(48)),
              QStringLiteral("-"), false});
    e.append({"refreshscr", Kind::Panel, {0, 0, 65, 65}, AnchorTopLeft, filled(Qt::black), {},
              false});
    const std::pair<const char*, QRect> transport[] = {
        {"but_play", {600, 125, 97, 89}},   {"but_pause", {359, 202, 97, 89}},
        {"but_stop", {828, 202, 97, 89}},   {"but_skipmin", {240, 337, 97, 89}},
        {"but_skipplus", {956, 337, 97, 89}}};
    const char* const transportArt[] = {"play", "pause", "stop", "skip_prev", "skip_next"};
    for (int i = 0; i < 5; ++i)
        e.append({transport[i].first, Kind::Image, transport[i].second, AnchorNone,
                  ownSize(artLook(transportArt[i], true)), {}, false});
    e.append({"timecount", Kind::Label, {462, 269, 360, 35}, AnchorNone, bold(textLook(37)), {}});
    // Panels drawn over everything else.
    e.append({"volbar", Kind::Panel, {0, 598, 1280, 122}, AnchorLeft | AnchorRight,
              filled(Qt::black), {}, false});
    e.append({"Image3", Kind::Image, {181, 10, 915, 113}, AnchorTopLeft, artLook("volume_bar"), {},
              true, "volbar"});
    e.append({"volumebar", Kind::Gauge, {453, 41, 567, 36}, AnchorTopLeft, Look{}, {}, true,
              "volbar"});
    e.append({"ProgressBar1", Kind::Bar, {0, 584, 1280, 8}, AnchorLeft | AnchorRight,
              textLook(0, Qt::AlignLeft, QColor(0xCE, 0x11, 0x11)), {}, false});
    e.append({"update", Kind::Panel, {0, 3000, 1280, 720}, AnchorAll, filled(Qt::black), {},
              false});
    e.append({"Panel1", Kind::Panel, {381, 165, 544, 359}, AnchorNone, Look{}, {}, true,
              "update"});
    e.append({"bg_nobut", Kind::Image, {0, 0, 537, 353}, AnchorTopLeft, artLook("dialog_plain"), {},
              true, "Panel1"});
    e.append({"bg_but", Kind::Image, {0, 0, 537, 353}, AnchorTopLeft, artLook("dialog_buttons"), {},
              true, "Panel1"});
    e.append({"lab_warning", Kind::Label, {8, 116, 512, 123}, AnchorTopLeft, wrapped(textLook(27)),
              QStringLiteral("Es steht eine Softwareaktualisierung zur Verfügung. "
                             "Möchten Sie diese jetzt installieren?"),
              true, "Panel1"});
    e.append({"lab_cancel", Kind::Label, {25, 277, 208, 50}, AnchorTopLeft,
              clickable(wrapped(textLook(33, Qt::AlignCenter, Qt::black))),
              QStringLiteral("Abbrechen"), true, "Panel1"});
    e.append({"lab_update", Kind::Label, {297, 279, 208, 50}, AnchorTopLeft,
              clickable(wrapped(textLook(33, Qt::AlignCenter, Qt::black))),
              QStringLiteral("Installieren"), true, "Panel1"});
    e.append({"update_progress", Kind::Busy, {25, 181, 480, 34}, AnchorTopLeft, Look{}, {}, false,
              "Panel1"});
    return e;
}
// clang-format on

} // namespace

TForm1::TForm1(HeadUnit& unit) : Screen(unit, ScreenId::Form1, QStringLiteral("ZelkRadio"), false)
{
    const QList<Element> list = radioScreenElements();
    elements().build(list);
    ElementSet& el = elements();
    Image1 = el.image("Image1");
    lblUhrzeit = el.label("lblUhrzeit");
    Label1 = el.label("Label1");
    for (int i = 0; i < 6; ++i) {
        but_1[i] = el.image(kDiscOn[i]);
        but_0[i] = el.image(kDiscOff[i]);
        prog[i] = el.label(kDigit[i]);
    }
    speicher = el.label("speicher");
    sendername = el.label("sendername");
    ton1 = el.image("ton1");
    ton0 = el.image("ton0");
    bootscreen = el.image("bootscreen");
    goto_menu = el.image("goto_menu");
    rdsText = el.label("rdsText");
    version = el.label("version");
    vol_plus = el.label("vol_plus");
    vol_minus = el.label("vol_minus");
    refreshscr = el.widget("refreshscr");
    but_play = el.image("but_play");
    but_pause = el.image("but_pause");
    but_stop = el.image("but_stop");
    but_skipmin = el.image("but_skipmin");
    but_skipplus = el.image("but_skipplus");
    timecount = el.label("timecount");
    volbar = el.widget("volbar");
    volumebar = el.gauge("volumebar");
    ProgressBar1 = el.gauge("ProgressBar1");
    update_panel = el.widget("update");
    bg_nobut = el.image("bg_nobut");
    bg_but = el.image("bg_but");
    lab_warning = el.label("lab_warning");
    lab_cancel = el.label("lab_cancel");
    lab_update = el.label("lab_update");
    update_progress = qobject_cast<QProgressBar*>(el.widget("update_progress"));

    void (TForm1::*const presets[6])() = {&TForm1::Button1, &TForm1::Button2, &TForm1::Button3,
                                          &TForm1::Button4, &TForm1::Button5, &TForm1::Button6};
    for (int i = 0; i < 6; ++i) {
        onClick(but_0[i], [this, op = presets[i]] { (this->*op)(); });
        onClick(prog[i], [this, op = presets[i]] { (this->*op)(); });
    }
    onClick(goto_menu, [this] { but_goto_menu(); });
    onClick(ton1, [this] { mute(); });
    onClick(ton0, [this] { unmute(); });
    onClick(vol_plus, [this] { Lauter1(); });
    onClick(vol_minus, [this] { Leiser1(); });
    onClick(lab_cancel, [this] { lab_cancel_click(); });
    onClick(lab_update, [this] { lab_update_click(); });
    onClick(but_play, [this] { but_play_click(); });
    onClick(but_pause, [this] { but_pause_click(); });
    onClick(but_stop, [this] { stop(); });
    onClick(but_skipmin, [this] { skip_minus(); });
    onClick(but_skipplus, [this] { skip_plus(); });
    setSnapsToEdges(true);
    placeFullScreen();
    // For the start-up figure: when the boot picture has been drawn first.
    bootscreen->installEventFilter(this);
}

void TForm1::Button1()
{
    m_unit.radio.Button1();
}
void TForm1::Button2()
{
    m_unit.radio.Button2();
}
void TForm1::Button3()
{
    m_unit.radio.Button3();
}
void TForm1::Button4()
{
    m_unit.radio.Button4();
}
void TForm1::Button5()
{
    m_unit.radio.Button5();
}
void TForm1::Button6()
{
    m_unit.radio.Button6();
}
void TForm1::but_goto_menu()
{
    m_unit.but_goto_menu();
}
void TForm1::mute()
{
    m_unit.volume.mute();
}
void TForm1::unmute()
{
    m_unit.volume.unmute();
}
void TForm1::Lauter1()
{
    m_unit.volume.Lauter1();
}
void TForm1::Leiser1()
{
    m_unit.volume.Leiser1();
}
void TForm1::lab_cancel_click()
{
    m_unit.update.lab_cancel_click();
}
void TForm1::lab_update_click()
{
    m_unit.update.lab_update_click();
}

void TForm1::but_play_click()
{
    m_unit.music.but_play_click();
}

void TForm1::but_pause_click()
{
    m_unit.music.but_pause_click();
}

void TForm1::stop()
{
    m_unit.music.stop();
}

void TForm1::skip_minus()
{
    m_unit.music.skip_minus();
}

void TForm1::skip_plus()
{
    m_unit.music.skip_plus();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == bootscreen && event->type() == QEvent::Paint && !m_bootPainted) {
        m_bootPainted = true;
        // Told once the paint has gone through.
        QTimer::singleShot(0, this, [] {
            qCDebug(lcDesktop).noquote() << "first frame of the boot picture painted,"
                                         << startClock().elapsed() << "ms after the start";
        });
    }
    return Screen::eventFilter(watched, event);
}

void TForm1::showPresets(const PresetLook& look)
{
    for (int i = 0; i < 6; ++i) {
        but_1[i]->setVisible(look.selected[i]);
        but_0[i]->setVisible(look.unselected[i]);
        prog[i]->setVisible(look.number[i]);
        // The first number is drawn without its background, whatever its colour.
        if (look.highlighted[i])
            setLabelColors(prog[i], Qt::white, kSelectedGrey);
        else
            setLabelColors(prog[i], Qt::black, Qt::white);
    }
}

void TForm1::showBootImage(bool shown)
{
    elements().setDesignTop(bootscreen, shown ? 0 : 1000);
    bootscreen->setVisible(shown);
}

void TForm1::showStarted(bool started)
{
    version->setVisible(!started);
    lblUhrzeit->setVisible(started);
}

void TForm1::showUpdatePanel(bool shown)
{
    update_panel->setVisible(shown);
    if (shown)
        update_panel->raise();
}

void TForm1::showUpdateTop(int designTop)
{
    elements().setDesignTop(update_panel, designTop);
}

void TForm1::showInstalling(bool installing)
{
    bg_nobut->setVisible(true);
    bg_but->setVisible(!installing);
    update_progress->setVisible(installing);
    lab_update->setVisible(!installing);
    lab_cancel->setVisible(!installing);
}

} // namespace zelk
