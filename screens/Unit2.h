#pragma once
// The main menu: the hub between the head unit's functions.

#include "screens/screen.h"
#include "screens/uitimer.h"

namespace zelk {

class TForm1;
class TForm3;
class TForm5;

class TForm2 : public Screen
{
    Q_OBJECT
public:
    explicit TForm2(TForm1* form1, QWidget* parent = nullptr);
    void attach(TForm3* form3, TForm5* form5);

    void takemeback();
    void sw2Setup();
    void Lauter1();
    void Leiser1();
    bool hotKey(int key);

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
    QWidget* refreshscr;
    UiTimer* voltimer;
    VolumeOverlay overlay;

private:
    TForm1* Form1;
    TForm3* Form3 = nullptr;
    TForm5* Form5 = nullptr;
};

} // namespace zelk
