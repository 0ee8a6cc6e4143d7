#pragma once
// The main menu: the hub between the head unit's functions.

#include "screens/screen.h"

namespace zelk {

class TForm2 : public Screen
{
    Q_OBJECT
public:
    explicit TForm2(HeadUnit& unit);

    void showTileName(int line);
    void butRadio_click();
    void but_music();
    void butDash_click();
    void butNavi_click();
    void lab_cancel_click();
    void lab_load_click();
    void takemeback();
    void sw2Setup();
    void mute();
    void unmute();
    void Lauter1();
    void Leiser1();

    ArtWidget* Image1;
    ArtWidget* butRadio;
    ArtWidget* butMusic;
    ArtWidget* butDash;
    ArtWidget* butNavi;
    ArtWidget* butSettings;
    ClickLabel* mainLabel;
    ClickLabel* butback;
    ClickLabel* aktSender;
    Gauge* ProgressBar1;
    ClickLabel* lblUhrzeit;
    ArtWidget* ton1;
    ArtWidget* ton0;
    ClickLabel* vol_plus;
    ClickLabel* vol_minus;
    QWidget* volbar;
    Gauge* volumebar;
    QWidget* refreshscr;
    QWidget* noPlaylist;
    ClickLabel* lab_warning;
    ClickLabel* lab_cancel;
    ClickLabel* lab_load;
};

} // namespace zelk
