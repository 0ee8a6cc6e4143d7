#include "screens/Unit5.h"

#include "app/headunit.h"
#include "screens/keyboard.h"
#include "screens/shellviews.h"
#include "settings/config.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeView>

namespace zelk {

namespace {

constexpr QRect kPage{592, 80, 625, 433};
constexpr int kParkedTop = 3000;
const char* const kNameField[6] = {"rname1", "rname2", "rname3", "rname4", "rname5", "rname6"};
const char* const kUrlField[6] = {"rurl1", "rurl2", "rurl3", "rurl4", "rurl5", "rurl6"};
const char* const kTextField[6] = {"rdsurl1", "rdsurl2", "rdsurl3",
                                   "rdsurl4", "rdsurl5", "rdsurl6"};
const char* const kRowLabel[6] = {"Label4", "Label5", "Label6", "Label7", "Label8", "Label9"};

// The settings screen, from the bottom up: the pages over the page labels,
// the about panel over the pages, the keyboard (adopted last) over all.
// The labels of the pages are wider than their design boxes, which were
// measured to the last pixel of their German texts; none reaches the next
// control.
// clang-format off
QList<Element> settingsElements()
{
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    Look frameButton = clickable(textLook(48, Qt::AlignCenter, Qt::black));
    frameButton.background = Qt::white;
    Look page = textLook(27, left);
    page.background = QColor(72, 72, 72);
    const Look text = textLook(27, left);
    const Look push = textLook(22, Qt::AlignCenter, Qt::black);
    // One pixel smaller than the labels: the longest texts fit beside an
    // indicator large enough for a finger.
    const Look box = textLook(26, left);
    const Look field = fieldLook(27);
    const Look dialogButton = clickable(textLook(33, Qt::AlignCenter, Qt::black));
    const QString cancel = QStringLiteral("Abbrechen");
    const QString save = QStringLiteral("Speichern");
    const QStringList defaults = defaultConfigLines();

    QList<Element> e;
    e.append({"Image1", Kind::Image, {0, 0, 1280, 720}, AnchorAll, artLook("settings_bg"), {}});
    e.append({"Image2", Kind::Image, {280, 25, 89, 89}, AnchorNone, artLook("tile_navi", true), {}});
    e.append({"Image3", Kind::Image, {304, 129, 89, 89}, AnchorNone, artLook("tile_radio", true), {}});
    e.append({"Image12", Kind::Image, {320, 243, 89, 89}, AnchorNone, artLook("tile_settings", true), {}});
    e.append({"Image4", Kind::Image, {304, 353, 89, 89}, AnchorNone, artLook("tile_music", true), {}});
    e.append({"Image5", Kind::Image, {280, 458, 89, 89}, AnchorNone, artLook("tile_dash", true), {}});
    e.append({"Label13", Kind::Label, {456, 40, 513, 59}, AnchorNone, textLook(48, left), QStringLiteral("Navigation")});
    e.append({"Label14", Kind::Label, {487, 144, 513, 59}, AnchorNone, textLook(48, left), QStringLiteral("Radio")});
    e.append({"Label15", Kind::Label, {517, 259, 513, 59}, AnchorNone, textLook(48, left), QStringLiteral("Allgemein")});
    e.append({"Label16", Kind::Label, {487, 368, 513, 59}, AnchorNone, textLook(48, left), QStringLiteral("Musik")});
    e.append({"Label17", Kind::Label, {456, 474, 513, 59}, AnchorNone, textLook(48, left), QStringLiteral("Info-Display")});
    e.append({"butback", Kind::Label, {38, 624, 249, 65}, AnchorNone, frameButton, QStringLiteral("Zurück")});
    e.append({"Label2", Kind::Label, {992, 624, 257, 65}, AnchorNone, frameButton, QStringLiteral("Beenden")});
    e.append({"aktSender", Kind::Label, {293, 616, 683, 89}, AnchorLeft | AnchorRight, textLook(64), QStringLiteral("Setup")});
    // Wider than its 41 px design box, which cuts "1.2.0"; same right edge.
    e.append({"version", Kind::Label, {1191, 8, 81, 29}, AnchorTop | AnchorRight, textLook(24, Qt::AlignRight | Qt::AlignVCenter), QStringLiteral("v0.0")});
    e.append({"refreshscr", Kind::Panel, {0, 0, 65, 65}, AnchorNone, filled(Qt::black), {}, false});

    // Navigation
    e.append({"GB_Navi", Kind::Page, kPage, AnchorNone, page, QStringLiteral(" Navigation "), false});
    e.append({"Label3", Kind::Label, {32, 49, 250, 33}, AnchorTopLeft, text, QStringLiteral("Navigation URL:"), true, "GB_Navi"});
    e.append({"URL", Kind::Edit, {32, 88, 561, 39}, AnchorTopLeft, field, maps::DesignUrl, true, "GB_Navi"});
    e.append({"Button2", Kind::Button, {32, 133, 129, 44}, AnchorTopLeft, push, QStringLiteral("ETS 2"), true, "GB_Navi"});
    e.append({"Button1", Kind::Button, {175, 133, 129, 44}, AnchorTopLeft, push, QStringLiteral("GTA V"), true, "GB_Navi"});
    e.append({"Button3", Kind::Button, {318, 133, 130, 44}, AnchorTopLeft, push, QStringLiteral("Minecraft"), true, "GB_Navi"});
    e.append({"Button4", Kind::Button, {462, 133, 131, 44}, AnchorTopLeft, push, QStringLiteral("TDU"), true, "GB_Navi"});
    e.append({"Image8", Kind::Image, {33, 183, 128, 128}, AnchorTopLeft, artLook("game_truck"), {}, true, "GB_Navi"});
    e.append({"Image9", Kind::Image, {175, 183, 128, 128}, AnchorTopLeft, artLook("game_city"), {}, true, "GB_Navi"});
    e.append({"Image10", Kind::Image, {321, 183, 128, 128}, AnchorTopLeft, artLook("game_blocks"), {}, true, "GB_Navi"});
    e.append({"Image11", Kind::Image, {465, 183, 128, 128}, AnchorTopLeft, artLook("game_island"), {}, true, "GB_Navi"});
    e.append({"Button9", Kind::Button, {320, 378, 129, 44}, AnchorTopLeft, push, cancel, true, "GB_Navi"});
    e.append({"Button7", Kind::Button, {464, 378, 129, 44}, AnchorTopLeft, push, save, true, "GB_Navi"});

    // Radio: a row of three fields per station preset.
    e.append({"GB_Radio", Kind::Page, kPage, AnchorNone, page, QStringLiteral(" Radio "), false});
    e.append({"Label12", Kind::Label, {112, 49, 160, 33}, AnchorTopLeft, text, QStringLiteral("Radio-Name"), true, "GB_Radio"});
    e.append({"Label10", Kind::Label, {281, 49, 160, 33}, AnchorTopLeft, text, QStringLiteral("Stream URL"), true, "GB_Radio"});
    e.append({"Label11", Kind::Label, {441, 49, 170, 33}, AnchorTopLeft, text, QStringLiteral("RDS Text URL"), true, "GB_Radio"});
    for (int i = 0; i < 6; ++i) {
        const int y = 93 + 39 * i;
        e.append({kRowLabel[i], Kind::Label, {17, y - 5, 89, 33}, AnchorTopLeft, text, QStringLiteral("Radio %1:").arg(i + 1), true, "GB_Radio"});
        e.append({kNameField[i], Kind::Edit, {112, y, 160, 25}, AnchorTopLeft, fieldLook(16), defaults.at(cfg::StationName1 + i), true, "GB_Radio"});
        e.append({kUrlField[i], Kind::Edit, {278, y, 160, 25}, AnchorTopLeft, fieldLook(16), defaults.at(cfg::StationUrl1 + i), true, "GB_Radio"});
        e.append({kTextField[i], Kind::Edit, {444, y, 160, 25}, AnchorTopLeft, fieldLook(16), defaults.at(cfg::RdsUrl1 + i), true, "GB_Radio"});
    }
    e.append({"Button6", Kind::Button, {273, 368, 161, 49}, AnchorTopLeft, push, cancel, true, "GB_Radio"});
    e.append({"Button5", Kind::Button, {448, 368, 161, 49}, AnchorTopLeft, push, save, true, "GB_Radio"});

    // General
    e.append({"GB_Allgemein", Kind::Page, kPage, AnchorNone, page, QStringLiteral(" Allgemein "), false});
    e.append({"Label27", Kind::Label, {33, 49, 222, 33}, AnchorTopLeft, text, QStringLiteral("Sprache (Language):"), true, "GB_Allgemein"});
    e.append({"lang", Kind::Combo, {257, 49, 336, 41}, AnchorTopLeft, field, QStringLiteral("EN-US"), true, "GB_Allgemein", 0, 0, {QStringLiteral("DE-DE"), QStringLiteral("EN-US")}});
    e.append({"Label18", Kind::Label, {32, 105, 220, 33}, AnchorTopLeft, text, QStringLiteral("Vollbildmodus:"), true, "GB_Allgemein"});
    e.append({"fullscreen_true", Kind::Radio, {257, 110, 170, 28}, AnchorTopLeft, box, QStringLiteral("aktivieren"), true, "GB_Allgemein"});
    e.append({"fullscreen_false", Kind::Radio, {433, 110, 160, 28}, AnchorTopLeft, box, QStringLiteral("deaktivieren"), true, "GB_Allgemein"});
    e.append({"Label20", Kind::Label, {33, 144, 504, 26}, AnchorTopLeft, textLook(21, left), QStringLiteral("Tipp: Mit F5 kann in den Fenstermodus gewechselt werden"), true, "GB_Allgemein"});
    e.append({"show_music_in_title", Kind::Check, {33, 183, 461, 44}, AnchorTopLeft, box, QStringLiteral("Aktuelles Lied im Fenstertitel anzeigen"), true, "GB_Allgemein"});
    e.append({"auto_changemode", Kind::Check, {32, 221, 489, 44}, AnchorTopLeft, box, QStringLiteral("Automatisch zum letzten Modus wechseln"), true, "GB_Allgemein"});
    e.append({"mute_Settings", Kind::Check, {32, 259, 489, 44}, AnchorTopLeft, box, QStringLiteral("Musik im Einstellungsmenü stoppen"), true, "GB_Allgemein"});
    e.append({"Label1", Kind::Label, {52, 301, 208, 33}, AnchorTopLeft, text, QStringLiteral("Fensterauflösung:"), true, "GB_Allgemein"});
    e.append({"aufl_x", Kind::Spin, {264, 309, 89, 43}, AnchorTopLeft, field, QStringLiteral("1280"), true, "GB_Allgemein", 1024, 9999});
    e.append({"Label28", Kind::Label, {360, 309, 12, 33}, AnchorTopLeft, text, QStringLiteral("x"), true, "GB_Allgemein"});
    e.append({"aufl_y", Kind::Spin, {378, 309, 89, 43}, AnchorTopLeft, field, QStringLiteral("720"), true, "GB_Allgemein", 600, 9999});
    e.append({"Label29", Kind::Label, {480, 309, 60, 33}, AnchorTopLeft, text, QStringLiteral("Pixel"), true, "GB_Allgemein"});
    e.append({"CB_aufl_chgbl", Kind::Check, {56, 335, 202, 27}, AnchorTopLeft, box, QStringLiteral("veränderbar"), true, "GB_Allgemein"});
    e.append({"but_about", Kind::Button, {17, 368, 161, 49}, AnchorTopLeft, push, QStringLiteral("Über..."), true, "GB_Allgemein"});
    e.append({"Button11", Kind::Button, {273, 368, 161, 49}, AnchorTopLeft, push, cancel, true, "GB_Allgemein"});
    e.append({"Button10", Kind::Button, {448, 368, 161, 49}, AnchorTopLeft, push, save, true, "GB_Allgemein"});

    // Music, with the playlist chooser over the page once it is opened.
    e.append({"GB_Music", Kind::Page, kPage, AnchorNone, page, QStringLiteral(" Playlist "), false});
    e.append({"Label19", Kind::Label, {17, 36, 94, 33}, AnchorTopLeft, text, QStringLiteral("Playlist: "), true, "GB_Music"});
    e.append({"filename", Kind::Label, {112, 36, 497, 33}, AnchorTopLeft, textLook(19, left), {}, true, "GB_Music"});
    e.append({"but_playlist", Kind::Button, {18, 74, 257, 44}, AnchorTopLeft, push, QStringLiteral("Playlist auswählen..."), true, "GB_Music"});
    e.append({"autoplay_last", Kind::Check, {18, 129, 605, 36}, AnchorTopLeft, box, QStringLiteral("Automatisch zum zuletzt abgespielten Lied wechseln"), true, "GB_Music"});
    e.append({"onlyatreboot", Kind::Check, {56, 171, 561, 36}, AnchorTopLeft, box, QStringLiteral("nur nach Programmneustart"), true, "GB_Music"});
    e.append({"Label25", Kind::Label, {17, 220, 260, 33}, AnchorTopLeft, text, QStringLiteral("Fortschrittsbalken:"), true, "GB_Music"});
    e.append({"also_visible", Kind::Check, {18, 259, 591, 36}, AnchorTopLeft, box, QStringLiteral("auch in anderen Menüs sichtbar"), true, "GB_Music"});
    e.append({"Button8", Kind::Button, {264, 378, 161, 49}, AnchorTopLeft, push, cancel, true, "GB_Music"});
    e.append({"but_save_music", Kind::Button, {431, 378, 161, 49}, AnchorTopLeft, push, save, true, "GB_Music"});
    e.append({"choosePlaylist", Kind::Panel, {17, 75, 591, 337}, AnchorTopLeft, filled(QColor(52, 53, 57)), {}, false, "GB_Music"});
    e.append({"Label26", Kind::Label, {11, 7, 300, 33}, AnchorTopLeft, text, QStringLiteral("Playlist auswählen..."), true, "choosePlaylist"});
    e.append({"Button15", Kind::Button, {560, 2, 25, 25}, AnchorTopLeft, textLook(18, Qt::AlignCenter, Qt::black), QStringLiteral("x"), true, "choosePlaylist"});

    // Info-display
    e.append({"GB_Dash", Kind::Page, kPage, AnchorNone, page, QStringLiteral(" Info-Display "), false});
    e.append({"Label24", Kind::Label, {36, 43, 200, 33}, AnchorTopLeft, text, QStringLiteral("Dashboard URL"), true, "GB_Dash"});
    e.append({"DashURL", Kind::Edit, {36, 82, 573, 39}, AnchorTopLeft, field, maps::DesignDashUrl, true, "GB_Dash"});
    e.append({"Button14", Kind::Button, {36, 127, 341, 49}, AnchorTopLeft, push, QStringLiteral("Aus Zwischenablage einfügen"), true, "GB_Dash"});
    e.append({"Button13", Kind::Button, {273, 368, 161, 49}, AnchorTopLeft, push, cancel, true, "GB_Dash"});
    e.append({"Button12", Kind::Button, {448, 368, 161, 49}, AnchorTopLeft, push, save, true, "GB_Dash"});

    // About panel: its content keeps its size and stays in the middle.
    e.append({"about", Kind::Panel, {0, kParkedTop, 1280, 720}, AnchorAll, filled(QColor(0, 0, 0, 170)), {}, false});
    e.append({"Panel1", Kind::Panel, {375, 142, 545, 369}, AnchorNone, Look{}, {}, true, "about"});
    e.append({"Image13", Kind::Image, {0, 3, 537, 353}, AnchorTopLeft, artLook("about_dialog"), {}, true, "Panel1"});
    e.append({"programmedby", Kind::Label, {9, 112, 512, 42}, AnchorTopLeft, textLook(27), QStringLiteral("Programmiert von Velmarin"), true, "Panel1"});
    e.append({"Label22", Kind::Label, {0, 189, 528, 42}, AnchorTopLeft, textLook(27), QStringLiteral("Weitere Informationen unter:"), true, "Panel1"});
    e.append({"Label23", Kind::Label, {0, 219, 528, 42}, AnchorTopLeft, italic(textLook(27)), kProjectPage, true, "Panel1"});
    e.append({"lab_visit", Kind::Label, {25, 275, 208, 50}, AnchorTopLeft, dialogButton, QStringLiteral("Link öffnen"), true, "Panel1"});
    e.append({"lab_close", Kind::Label, {295, 275, 208, 50}, AnchorTopLeft, dialogButton, QStringLiteral("Schließen"), true, "Panel1"});

    e.append({"close_keyboard", Kind::Image, {8, 279, 121, 56}, AnchorLeft | AnchorBottom, artLook("keyboard_key", true), {}, false});
    return e;
}
// clang-format on

} // namespace

// Unanchored elements of this screen move by half of a change of size.
TForm5::TForm5(HeadUnit& unit)
    : Screen(unit, ScreenId::Form5, QStringLiteral("Zelk Radio"), false, Floating::HalfChange)
{
    const QList<Element> list = settingsElements();
    elements().build(list);
    ElementSet& el = elements();
    Image1 = el.image("Image1");
    Image2 = el.image("Image2");
    Image3 = el.image("Image3");
    Image12 = el.image("Image12");
    Image4 = el.image("Image4");
    Image5 = el.image("Image5");
    butback = el.label("butback");
    Label2 = el.label("Label2");
    aktSender = el.label("aktSender");
    version = el.label("version");
    refreshscr = el.widget("refreshscr");
    close_keyboard = el.image("close_keyboard");

    GB_Navi = el.as<QGroupBox>("GB_Navi");
    URL = el.as<QLineEdit>("URL");
    Button2 = el.as<QPushButton>("Button2");
    Button1 = el.as<QPushButton>("Button1");
    Button3 = el.as<QPushButton>("Button3");
    Button4 = el.as<QPushButton>("Button4");
    Button9 = el.as<QPushButton>("Button9");
    Button7 = el.as<QPushButton>("Button7");

    GB_Radio = el.as<QGroupBox>("GB_Radio");
    for (int i = 0; i < 6; ++i) {
        rname[i] = el.as<QLineEdit>(kNameField[i]);
        rurl[i] = el.as<QLineEdit>(kUrlField[i]);
        rdsurl[i] = el.as<QLineEdit>(kTextField[i]);
    }
    Button6 = el.as<QPushButton>("Button6");
    Button5 = el.as<QPushButton>("Button5");

    GB_Allgemein = el.as<QGroupBox>("GB_Allgemein");
    lang = el.as<QComboBox>("lang");
    fullscreen_true = el.as<QRadioButton>("fullscreen_true");
    fullscreen_false = el.as<QRadioButton>("fullscreen_false");
    show_music_in_title = el.as<QCheckBox>("show_music_in_title");
    auto_changemode = el.as<QCheckBox>("auto_changemode");
    mute_Settings = el.as<QCheckBox>("mute_Settings");
    aufl_x = el.as<QSpinBox>("aufl_x");
    aufl_y = el.as<QSpinBox>("aufl_y");
    CB_aufl_chgbl = el.as<QCheckBox>("CB_aufl_chgbl");
    but_about = el.as<QPushButton>("but_about");
    Button11 = el.as<QPushButton>("Button11");
    Button10 = el.as<QPushButton>("Button10");

    GB_Music = el.as<QGroupBox>("GB_Music");
    filename = el.label("filename");
    but_playlist = el.as<QPushButton>("but_playlist");
    autoplay_last = el.as<QCheckBox>("autoplay_last");
    onlyatreboot = el.as<QCheckBox>("onlyatreboot");
    also_visible = el.as<QCheckBox>("also_visible");
    Button8 = el.as<QPushButton>("Button8");
    but_save_music = el.as<QPushButton>("but_save_music");
    choosePlaylist = el.widget("choosePlaylist");
    Button15 = el.as<QPushButton>("Button15");

    GB_Dash = el.as<QGroupBox>("GB_Dash");
    DashURL = el.as<QLineEdit>("DashURL");
    Button14 = el.as<QPushButton>("Button14");
    Button13 = el.as<QPushButton>("Button13");
    Button12 = el.as<QPushButton>("Button12");

    about = el.widget("about");
    Panel1 = el.widget("Panel1");
    programmedby = el.label("programmedby");
    lab_visit = el.label("lab_visit");
    lab_close = el.label("lab_close");

    shell = new ShellViews(choosePlaylist);
    el.adopt("ShellComboBox1", shell->pathBox, {8, 50, 575, 32}, AnchorTopLeft);
    el.adopt("ShellTreeView1", shell->tree, {8, 88, 207, 241}, AnchorTopLeft);
    el.adopt("ShellListView1", shell->list, {221, 88, 362, 241}, AnchorTopLeft);

    Keyboard = new OnScreenKeyboard(this);
    el.adopt("Keyboard", Keyboard, {8, 345, 1264, 369}, AnchorLeft | AnchorRight | AnchorBottom);
    Keyboard->raise();
    Keyboard->hide();

    onClick(Image2, [this] { Image2_click(); });
    onClick(Image3, [this] { Image3_click(); });
    onClick(Image12, [this] { Image12_click(); });
    onClick(Image4, [this] { Image4_click(); });
    onClick(Image5, [this] { Image5_click(); });
    onClick(butback, [this] { but_back(); });
    onClick(Label2, [this] { exit_click(); });
    onClick(close_keyboard, [this] { but_hide_keys(); });
    onClick(Button2, [this] { Button2_click(); });
    onClick(Button1, [this] { Button1_click(); });
    onClick(Button3, [this] { Button3_click(); });
    onClick(Button4, [this] { Button4_click(); });
    onClick(Button7, [this] { Button7_click(); });
    onClick(Button9, [this] { Button9_click(); });
    onClick(Button5, [this] { Button5_click(); });
    onClick(Button6, [this] { Button6_click(); });
    onClick(Button10, [this] { Button10_click(); });
    onClick(Button11, [this] { Button11_click(); });
    onClick(but_about, [this] { but_about_click(); });
    onClick(but_save_music, [this] { but_save_music_click(); });
    onClick(Button8, [this] { Button8_click(); });
    onClick(but_playlist, [this] { but_playlist_click(); });
    onClick(Button15, [this] { Button15_click(); });
    onClick(Button14, [this] { Button14_click(); });
    onClick(Button12, [this] { Button12_click(); });
    onClick(Button13, [this] { Button13_click(); });
    onClick(lab_visit, [this] { lab_visit_click(); });
    onClick(lab_close, [this] { lab_close_click(); });
    connect(shell, &ShellViews::selected, this, [this](const QString& path) {
        m_unit.seq.input([this, path] { ShellListView1_change(path); });
    });

    // Typing into a station field, also on the on-screen keyboard, keeps the
    // keyboard open; the dashboard address does not open it.
    m_keyboardFields << URL;
    for (int i = 0; i < 6; ++i) {
        for (QLineEdit* field : {rname[i], rurl[i], rdsurl[i]}) {
            m_keyboardFields << field;
            connect(field, &QLineEdit::textEdited, this,
                    [this] { m_unit.seq.input([this] { but_show_keys(); }); });
        }
    }
    for (QLineEdit* field : std::as_const(m_keyboardFields))
        field->installEventFilter(this);

    // Borderless and maximised by design; there is no creation step.
    placeFullScreen();
}

bool TForm5::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        m_keyboardFields.contains(qobject_cast<QLineEdit*>(watched)))
        m_unit.seq.input([this] { but_show_keys(); });
    return Screen::eventFilter(watched, event);
}

void TForm5::showAbout(bool shown)
{
    elements().setDesignTop(about, shown ? 0 : kParkedTop);
    about->setVisible(shown);
}

void TForm5::Image2_click()
{
    m_unit.setup.Image2_click();
}
void TForm5::Image3_click()
{
    m_unit.setup.Image3_click();
}
void TForm5::Image12_click()
{
    m_unit.setup.Image12_click();
}
void TForm5::Image4_click()
{
    m_unit.setup.Image4_click();
}
void TForm5::Image5_click()
{
    m_unit.setup.Image5_click();
}
void TForm5::Button2_click()
{
    m_unit.setup.Button2_click();
}
void TForm5::Button1_click()
{
    m_unit.setup.Button1_click();
}
void TForm5::Button3_click()
{
    m_unit.setup.Button3_click();
}
void TForm5::Button4_click()
{
    m_unit.setup.Button4_click();
}
void TForm5::Button7_click()
{
    m_unit.setup.Button7_click();
}
void TForm5::Button9_click()
{
    m_unit.setup.Button9_click();
}
void TForm5::Button5_click()
{
    m_unit.setup.Button5_click();
}
void TForm5::Button6_click()
{
    m_unit.setup.Button6_click();
}
void TForm5::Button10_click()
{
    m_unit.setup.Button10_click();
}
void TForm5::Button11_click()
{
    m_unit.setup.Button11_click();
}
void TForm5::but_about_click()
{
    m_unit.setup.but_about_click();
}
void TForm5::but_save_music_click()
{
    m_unit.setup.but_save_music_click();
}
void TForm5::Button8_click()
{
    m_unit.setup.Button8_click();
}
void TForm5::but_playlist_click()
{
    m_unit.setup.but_playlist_click();
}
void TForm5::Button15_click()
{
    m_unit.setup.Button15_click();
}
void TForm5::ShellListView1_change(const QString& selectedPath)
{
    m_unit.setup.ShellListView1_change(selectedPath);
}
void TForm5::Button14_click()
{
    m_unit.setup.Button14_click();
}
void TForm5::Button12_click()
{
    m_unit.setup.Button12_click();
}
void TForm5::Button13_click()
{
    m_unit.setup.Button13_click();
}
void TForm5::lab_visit_click()
{
    m_unit.setup.lab_visit_click();
}
void TForm5::lab_close_click()
{
    m_unit.setup.lab_close_click();
}
void TForm5::but_show_keys()
{
    m_unit.setup.but_show_keys();
}
void TForm5::but_hide_keys()
{
    m_unit.setup.but_hide_keys();
}
void TForm5::but_back()
{
    m_unit.setup.but_back();
}
void TForm5::exit_click()
{
    m_unit.setup.exit_click();
}

} // namespace zelk
