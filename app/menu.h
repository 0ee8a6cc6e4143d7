#pragma once
// The main menu: the hub between the head unit's functions, and the place
// where the playback mode is chosen and stored.

#include "app/values.h"

namespace zelk {

class HeadUnit;

class Menu : public QObject
{
    Q_OBJECT
public:
    explicit Menu(HeadUnit& unit);

    // The name of the tile the pointer entered last.
    TextValue mainLabel{QStringLiteral("Radio")};
    // The warning that there is no playlist yet.
    FlagValue noPlaylist;

    // The pointer entered a tile: its name from language line `line`.
    void showTileName(int line);

    void butRadio_click();
    // The Radio tile's way from music back to radio, without its change of
    // screen: `before` runs where the tile shows the radio screen, `after`
    // once radio mode is stored.
    void switchToRadio(std::function<void()> before, std::function<void()> after = {});
    void but_music();
    void butNavi_click();
    void butDash_click();
    void sw2Setup();
    void exitWarning();
    void lab_cancel_click();
    void lab_load_click();
    void takemeback();
    void goto_Form3();

private:
    void storeMode(bool radio);
    HeadUnit& m_unit;
};

} // namespace zelk
