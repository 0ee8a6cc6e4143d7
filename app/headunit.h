#pragma once
// The running program: the four screens, created in order, the hot keys and
// the shutdown path.

#include "platform/services.h"

#include <QObject>

namespace zelk {

class TForm1;
class TForm2;
class TForm3;
class TForm5;

class HeadUnit : public QObject
{
    Q_OBJECT
public:
    HeadUnit(Services services, const QString& dataDir);
    ~HeadUnit() override;

    TForm1* Form1;
    TForm2* Form2;
    TForm3* Form3;
    TForm5* Form5;

    // Sends a function key to the screen `window` (one of the four): the
    // screen's own binding first, else the radio screen's. Returns whether
    // any screen binds the key.
    bool routeHotKey(QWidget* window, int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace zelk
