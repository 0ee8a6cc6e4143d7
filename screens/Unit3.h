#pragma once
// The web view: a web page inside the head-unit frame.

#include "screens/screen.h"
#include "screens/uitimer.h"

namespace zelk {

class TForm1;
class TForm2;

class TForm3 : public Screen
{
    Q_OBJECT
public:
    TForm3(TForm1* form1, TForm2* form2, QWidget* parent = nullptr);

    void butback_click();
    void Lauter1();
    void Leiser1();
    bool hotKey(int key);

    ArtWidget* Image1;
    ClickLabel* butback;
    ClickLabel* aktSender;
    ClickLabel* lblUhrzeit;
    Gauge* ProgressBar1;
    UiTimer* voltimer;
    VolumeOverlay overlay;

private:
    TForm1* Form1;
    TForm2* Form2;
};

} // namespace zelk
