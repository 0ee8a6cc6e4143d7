#include "screens/Unit2.h"

#include "app/clock.h"
#include "screens/Unit1.h"
#include "screens/Unit3.h"
#include "screens/Unit5.h"

#include <QTime>

namespace zelk {

namespace {

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
    };
}

} // namespace

TForm2::TForm2(TForm1* form1, QWidget* parent)
    : Screen(QStringLiteral("ZelkRadio"), true, parent), Form1(form1)
{
    setErrorReporter(form1->services.dialogs);
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
    refreshscr = el.widget("refreshscr");
    voltimer = new UiTimer(3000, false, this);
    overlay = VolumeOverlay{el.widget("volbar"), el.gauge("volumebar"), voltimer};
    voltimer->setHandler([this] { overlay.hide(); });

    // The hover caption follows the language list at the moment it is needed.
    const std::pair<ArtWidget*, int> hovers[] = {
        {butRadio, 1}, {butMusic, 3}, {butDash, 4}, {butNavi, 5}, {butSettings, 6}};
    for (auto [tile, line] : hovers)
        onEnter(tile, [this, line = line] { mainLabel->setText(Form1->MUI.line(line)); });
    onClick(butback, [this] { takemeback(); });
    onClick(butSettings, [this] { sw2Setup(); });
    onClick(ton1, [this] { Form1->mute(); });
    onClick(ton0, [this] { Form1->unmute(); });
    onClick(vol_plus, [this] { Form1->Lauter1(); });
    onClick(vol_minus, [this] { Form1->Leiser1(); });

    // Creation step.
    placeFullScreen();
    lblUhrzeit->setText(clockText(QTime::currentTime()));
}

void TForm2::attach(TForm3* form3, TForm5* form5)
{
    Form3 = form3;
    Form5 = form5;
}

void TForm2::takemeback()
{
    switchScreen(this, Form1, false);
    Form1->elements().setDesignTop(Form1->bootscreen, 0);
    Form1->bootscreen->show();
    Form1->but_refresh();
    Form1->bootscreen->hide();
    Form1->elements().setDesignTop(Form1->bootscreen, 1000);
}

void TForm2::sw2Setup()
{
    switchScreen(this, Form5, false);
    Form5->but_refresh();
}

void TForm2::Lauter1()
{
    Form1->stepOwnVolume(overlay, +5);
}

void TForm2::Leiser1()
{
    Form1->stepOwnVolume(overlay, -5);
}

bool TForm2::hotKey(int key)
{
    switch (key) {
    case Qt::Key_F11: Leiser1(); return true;
    case Qt::Key_F12: Lauter1(); return true;
    default: return false;
    }
}

} // namespace zelk
