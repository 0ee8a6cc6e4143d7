#pragma once
// The settings screen.

#include "screens/screen.h"

namespace zelk {

class TForm5 : public Screen
{
    Q_OBJECT
public:
    explicit TForm5(HeadUnit& unit);

    void but_back();
    void exit_click();

    ArtWidget* Image1;
    ClickLabel* butback;
    ClickLabel* Label2;
    ClickLabel* aktSender;
    ClickLabel* version;
    QWidget* refreshscr;
};

} // namespace zelk
