#pragma once
// The settings screen.

#include "screens/screen.h"

namespace zelk {

class TForm1;
class TForm2;

class TForm5 : public Screen
{
    Q_OBJECT
public:
    TForm5(TForm1* form1, TForm2* form2, QWidget* parent = nullptr);

    void but_back();
    void exit_click();

    ArtWidget* Image1;
    ClickLabel* butback;
    ClickLabel* Label2;
    ClickLabel* aktSender;
    ClickLabel* version;
    QWidget* refreshscr;

private:
    TForm1* Form1;
    TForm2* Form2;
};

} // namespace zelk
