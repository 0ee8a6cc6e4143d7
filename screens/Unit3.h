#pragma once
// The web view: a web page inside the head-unit frame.

#include "screens/screen.h"

namespace zelk {

class TForm3 : public Screen
{
    Q_OBJECT
public:
    explicit TForm3(HeadUnit& unit);

    void butback_click();

    ArtWidget* Image1;
    ClickLabel* butback;
    ClickLabel* aktSender;
    ClickLabel* lblUhrzeit;
    Gauge* ProgressBar1;
    QWidget* volbar;
    Gauge* volumebar;
};

} // namespace zelk
