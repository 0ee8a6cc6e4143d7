#pragma once
// The four screens of the head unit and the one place where they meet its
// logic: every value the logic owns is wired here to the elements that show
// it, and the screen switches, window mode and hot keys are carried out.

#include "app/screenmanager.h"

#include <QObject>

class QWidget;

namespace zelk {

class HeadUnit;
class Screen;
class TForm1;
class TForm2;
class TForm3;
class TForm5;

class Frontend : public QObject
{
    Q_OBJECT
public:
    // `display`: the name of the display to fill, empty for the usual one.
    explicit Frontend(HeadUnit& unit, const QString& display = {});
    ~Frontend() override;

    TForm1* Form1;
    TForm2* Form2;
    TForm3* Form3;
    TForm5* Form5;

    Screen* screen(ScreenId id) const;
    // The screen in front, the parent of message boxes.
    QWidget* activeScreen() const;

    // A function key pressed on `window` (one of the four screens). Returns
    // whether a screen binds it.
    bool routeHotKey(Screen* window, int key, bool autoRepeat = false,
                     Qt::KeyboardModifiers modifiers = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setupScreenConnections();
    void setupClockConnections();
    void setupVolumeConnections();
    void setupRadioConnections();
    void setupMusicConnections();
    void setupMenuConnections();
    void setupUpdateConnections();
    void setupLanguageConnections();
    void setupSettingsConnections();

    HeadUnit& m_unit;
};

} // namespace zelk
