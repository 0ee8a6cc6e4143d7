#include "screens/Unit3.h"

#include "app/headunit.h"
#include "screens/browsermodule.h"

namespace zelk {

namespace {

// clang-format off
QList<Element> webViewElements()
{
    Look back = clickable(textLook(48, Qt::AlignCenter, Qt::black));
    back.background = Qt::white;
    return {
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
// clang-format on

} // namespace

TForm3::TForm3(HeadUnit& unit) : Screen(unit, ScreenId::Form3, QStringLiteral("Zelk Radio"), true)
{
    const QList<Element> list = webViewElements();
    elements().build(list);
    ElementSet& el = elements();
    Image1 = el.image("Image1");
    butback = el.label("butback");
    aktSender = el.label("aktSender");
    lblUhrzeit = el.label("lblUhrzeit");
    ProgressBar1 = el.gauge("ProgressBar1");
    volbar = el.widget("volbar");
    volumebar = el.gauge("volumebar");
    onClick(butback, [this] { butback_click(); });
    placeFullScreen();
}

void TForm3::butback_click()
{
    m_unit.web.butback_click();
}

QWidget* TForm3::browser()
{
    if (!Chromium1) {
        const BrowserModule& module = browserModule();
        if (!module.create)
            return nullptr;
        Chromium1 = module.create(this);
        elements().adopt("Chromium1", Chromium1, {0, 0, 1280, 582}, AnchorAll);
        Chromium1->show();
    }
    return Chromium1;
}

void TForm3::load(const QUrl& url)
{
    // Without a browser view nothing is loaded; the screen still switches.
    if (QWidget* view = browser())
        browserModule().load(view, url);
}

} // namespace zelk
