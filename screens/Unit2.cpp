#include "screens/Unit2.h"

#include "app/headunit.h"

namespace zelk {

namespace {

// clang-format off
QList<Element> menuElements()
{
    const Look black = filled(Qt::black);
    return {
        {"Image1", Kind::Image, {0, 0, 1280, 720}, AnchorAll, artLook("menu_bg"), {}},
        {"butRadio", Kind::Image, {224, 344, 89, 89}, AnchorNone, artLook("tile_radio", true), {}},
        {"butMusic", Kind::Image, {376, 191, 89, 89}, AnchorNone, artLook("tile_music", true), {}},
        {"butDash", Kind::Image, {600, 127, 89, 89}, AnchorNone, artLook("tile_dash", true), {}},
        {"butNavi", Kind::Image, {816, 191, 89, 89}, AnchorNone, artLook("tile_navi", true), {}},
        {"butSettings", Kind::Image, {968, 344, 89, 89}, AnchorNone, artLook("tile_settings", true),
         {}},
        {"mainLabel", Kind::Label, {272, 344, 737, 123}, AnchorNone, textLook(64),
         QStringLiteral("Radio")},
        {"butback", Kind::Label, {32, 624, 249, 65}, AnchorNone,
         clickable(textLook(48, Qt::AlignCenter, Qt::black)), QStringLiteral("Zurück")},
        {"aktSender", Kind::Label, {360, 637, 553, 57}, AnchorNone,
         wrapped(textLook(35)), QStringLiteral("Radio aus")},
        {"ProgressBar1", Kind::Bar, {0, 584, 1280, 8}, AnchorLeft | AnchorRight,
         textLook(0, Qt::AlignLeft, QColor(0xCE, 0x11, 0x11)), {}, false},
        {"lblUhrzeit", Kind::Label, {880, 8, 392, 73}, AnchorTop | AnchorRight,
         textLook(64, Qt::AlignRight | Qt::AlignVCenter), QStringLiteral("00:00")},
        {"ton1", Kind::Image, {24, 18, 105, 105}, AnchorTopLeft, artLook("speaker_on", true), {}},
        {"ton0", Kind::Image, {24, 18, 105, 105}, AnchorTopLeft, artLook("speaker_off", true), {},
         false},
        {"vol_plus", Kind::Label, {135, 8, 24, 59}, AnchorTopLeft,
         clickable(textLook(48)), QStringLiteral("+")},
        {"vol_minus", Kind::Label, {135, 44, 24, 37}, AnchorTopLeft,
         clickable(textLook(48)), QStringLiteral("-")},
        {"volbar", Kind::Panel, {0, 598, 1280, 122}, AnchorLeft | AnchorRight, black, {}, false},
        {"Image3", Kind::Image, {185, 10, 915, 113}, AnchorTopLeft, artLook("volume_bar"), {}, true,
         "volbar"},
        {"volumebar", Kind::Gauge, {453, 41, 567, 36}, AnchorTopLeft, Look{}, {}, true, "volbar"},
        {"refreshscr", Kind::Panel, {0, 0, 65, 65}, AnchorNone, black, {}, false},
        // The warning that there is no playlist: it covers the whole menu.
        {"noPlaylist", Kind::Panel, {0, 0, 1280, 720}, AnchorAll, filled(QColor(0, 0, 0, 170)), {},
         false},
        {"Panel1", Kind::Panel, {376, 158, 545, 354}, AnchorNone, Look{}, {}, true, "noPlaylist"},
        {"Image2", Kind::Image, {0, 1, 537, 353}, AnchorTopLeft, artLook("dialog_warning"), {}, true,
         "Panel1"},
        {"lab_warning", Kind::Label, {8, 117, 512, 123}, AnchorTopLeft, wrapped(textLook(27)),
         QStringLiteral("Es wurde bisher noch keine Playlist erstellt. Bitte laden Sie in den "
                        "Einstellungen eine Playlist in das Radio."),
         true, "Panel1"},
        {"lab_cancel", Kind::Label, {25, 273, 208, 50}, AnchorTopLeft,
         clickable(textLook(33, Qt::AlignCenter, Qt::black)), QStringLiteral("Abbrechen"), true,
         "Panel1"},
        {"lab_load", Kind::Label, {297, 273, 208, 50}, AnchorTopLeft,
         clickable(textLook(33, Qt::AlignCenter, Qt::black)), QStringLiteral("Jetzt laden"), true,
         "Panel1"},
    };
}
// clang-format on

} // namespace

TForm2::TForm2(HeadUnit& unit) : Screen(unit, ScreenId::Form2, QStringLiteral("ZelkRadio"), true)
{
    const QList<Element> list = menuElements();
    elements().build(list);
    ElementSet& el = elements();
    Image1 = el.image("Image1");
    butRadio = el.image("butRadio");
    butMusic = el.image("butMusic");
    butDash = el.image("butDash");
    butNavi = el.image("butNavi");
    butSettings = el.image("butSettings");
    mainLabel = el.label("mainLabel");
    butback = el.label("butback");
    aktSender = el.label("aktSender");
    ProgressBar1 = el.gauge("ProgressBar1");
    lblUhrzeit = el.label("lblUhrzeit");
    ton1 = el.image("ton1");
    ton0 = el.image("ton0");
    vol_plus = el.label("vol_plus");
    vol_minus = el.label("vol_minus");
    volbar = el.widget("volbar");
    volumebar = el.gauge("volumebar");
    refreshscr = el.widget("refreshscr");
    noPlaylist = el.widget("noPlaylist");
    lab_warning = el.label("lab_warning");
    lab_cancel = el.label("lab_cancel");
    lab_load = el.label("lab_load");

    // The hover caption follows the language list at the moment it is needed.
    const std::pair<ArtWidget*, int> hovers[] = {
        {butRadio, 1}, {butMusic, 3}, {butDash, 4}, {butNavi, 5}, {butSettings, 6}};
    for (auto [tile, line] : hovers)
        onEnter(tile, [this, line = line] { showTileName(line); });
    onClick(butRadio, [this] { butRadio_click(); });
    onClick(butMusic, [this] { but_music(); });
    onClick(butDash, [this] { butDash_click(); });
    onClick(butNavi, [this] { butNavi_click(); });
    onClick(butback, [this] { takemeback(); });
    onClick(butSettings, [this] { sw2Setup(); });
    onClick(lab_cancel, [this] { lab_cancel_click(); });
    onClick(lab_load, [this] { lab_load_click(); });
    onClick(ton1, [this] { mute(); });
    onClick(ton0, [this] { unmute(); });
    onClick(vol_plus, [this] { Lauter1(); });
    onClick(vol_minus, [this] { Leiser1(); });
    placeFullScreen();
}

void TForm2::showTileName(int line)
{
    m_unit.menu.showTileName(line);
}
void TForm2::butRadio_click()
{
    m_unit.menu.butRadio_click();
}
void TForm2::but_music()
{
    m_unit.menu.but_music();
}
void TForm2::butDash_click()
{
    m_unit.menu.butDash_click();
}
void TForm2::butNavi_click()
{
    m_unit.menu.butNavi_click();
}
void TForm2::lab_cancel_click()
{
    m_unit.menu.lab_cancel_click();
}
void TForm2::lab_load_click()
{
    m_unit.menu.lab_load_click();
}
void TForm2::takemeback()
{
    m_unit.menu.takemeback();
}
void TForm2::sw2Setup()
{
    m_unit.menu.sw2Setup();
}
void TForm2::mute()
{
    m_unit.volume.mute();
}
void TForm2::unmute()
{
    m_unit.volume.unmute();
}
// The "+" and "-" act through the radio screen; F11 and F12 are the menu's own.
void TForm2::Lauter1()
{
    m_unit.volume.Lauter1();
}
void TForm2::Leiser1()
{
    m_unit.volume.Leiser1();
}

} // namespace zelk
