#include "screens/Unit3.h"

#include "app/clock.h"
#include "screens/Unit1.h"
#include "screens/Unit2.h"

#include <QTime>

namespace zelk {

namespace {

QList<Element> webViewElements()
{
    Look back = clickable(textLook(48, Qt::AlignCenter, Qt::black));
    back.background = Qt::white;
    return {
        {"Frame", Kind::Image, {0, 0, 1280, 720}, AnchorAll, artLook("web_frame"), {}},
        {"Image1", Kind::Image, {24, 616, 257, 89}, AnchorLeft | AnchorBottom,
         artLook("button_frame"), {}},
        {"butback", Kind::Label, {24, 624, 249, 65}, AnchorLeft | AnchorBottom, back,
         QStringLiteral("Zurück")},
        {"aktSender", Kind::Label, {295, 632, 674, 57}, AnchorLeft | AnchorRight | AnchorBottom,
         wrapped(textLook(35)), QStringLiteral("Radio aus")},
        {"lblUhrzeit", Kind::Label, {952, 616, 320, 73}, AnchorRight | AnchorBottom,
         textLook(64, Qt::AlignRight | Qt::AlignVCenter), QStringLiteral("00:00")},
        {"ProgressBar1", Kind::Bar, {0, 584, 1280, 8}, AnchorLeft | AnchorRight,
         textLook(0, Qt::AlignLeft, QColor(0xCE, 0x11, 0x11)), {}, false},
        {"volbar", Kind::Panel, {0, 608, 1280, 104}, AnchorLeft | AnchorRight, filled(Qt::black),
         {}, false},
        {"Image3", Kind::Image, {185, 0, 915, 113}, AnchorTopLeft, artLook("volume_bar"), {}, true,
         "volbar"},
        {"volumebar", Kind::Gauge, {453, 32, 567, 36}, AnchorTopLeft, Look{}, {}, true, "volbar"},
    };
}

} // namespace

TForm3::TForm3(TForm1* form1, TForm2* form2, QWidget* parent)
    : Screen(QStringLiteral("Zelk Radio"), true, parent), Form1(form1), Form2(form2)
{
    setErrorReporter(form1->services.dialogs);
    const QList<Element> list = webViewElements();
    elements().build(list);
    ElementSet& el = elements();
    Image1 = el.image("Image1");
    butback = el.label("butback");
    aktSender = el.label("aktSender");
    lblUhrzeit = el.label("lblUhrzeit");
    ProgressBar1 = el.gauge("ProgressBar1");
    voltimer = new UiTimer(3000, false, this);
    overlay = VolumeOverlay{el.widget("volbar"), el.gauge("volumebar"), voltimer};
    voltimer->setHandler([this] { overlay.hide(); });
    onClick(butback, [this] { butback_click(); });

    // Creation step.
    placeFullScreen();
    lblUhrzeit->setText(clockText(QTime::currentTime()));
}

void TForm3::butback_click()
{
    switchScreen(this, Form2, true);
    Form2->but_refresh();
}

void TForm3::Lauter1()
{
    Form1->stepOwnVolume(overlay, +5);
}

void TForm3::Leiser1()
{
    Form1->stepOwnVolume(overlay, -5);
}

bool TForm3::hotKey(int key)
{
    switch (key) {
    case Qt::Key_F11: Leiser1(); return true;
    case Qt::Key_F12: Lauter1(); return true;
    default: return false;
    }
}

} // namespace zelk
