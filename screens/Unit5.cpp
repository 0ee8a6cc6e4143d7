#include "screens/Unit5.h"

#include "app/headunit.h"

namespace zelk {

namespace {

// clang-format off
QList<Element> settingsElements()
{
    Look button = clickable(textLook(48, Qt::AlignCenter, Qt::black));
    button.background = Qt::white;
    return {
        {"Image1", Kind::Image, {0, 0, 1280, 720}, AnchorAll, artLook("settings_bg"), {}},
        {"butback", Kind::Label, {38, 624, 249, 65}, AnchorNone, button,
         QStringLiteral("Zurück")},
        {"Label2", Kind::Label, {992, 624, 257, 65}, AnchorNone, button,
         QStringLiteral("Beenden")},
        {"aktSender", Kind::Label, {293, 616, 683, 89}, AnchorLeft | AnchorRight, textLook(64),
         QStringLiteral("Setup")},
        // Wider than its 41 px design box, which cuts "1.2.0"; same right edge.
        {"version", Kind::Label, {1191, 8, 81, 29}, AnchorTop | AnchorRight,
         textLook(24, Qt::AlignRight | Qt::AlignVCenter), QStringLiteral("v0.0")},
        {"refreshscr", Kind::Panel, {0, 0, 65, 65}, AnchorNone, filled(Qt::black), {}, false},
    };
}
// clang-format on

} // namespace

TForm5::TForm5(HeadUnit& unit) : Screen(unit, ScreenId::Form5, QStringLiteral("Zelk Radio"), false)
{
    const QList<Element> list = settingsElements();
    elements().build(list);
    ElementSet& el = elements();
    Image1 = el.image("Image1");
    butback = el.label("butback");
    Label2 = el.label("Label2");
    aktSender = el.label("aktSender");
    version = el.label("version");
    refreshscr = el.widget("refreshscr");
    onClick(butback, [this] { but_back(); });
    onClick(Label2, [this] { exit_click(); });
    // Borderless and maximised by design; there is no creation step.
    placeFullScreen();
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
