#pragma once
// The four screens as the logic knows them: which one to show or hide, and
// window mode. The windows themselves belong to the front end, which carries
// out what is asked here in the order it is asked.

#include "app/values.h"

#include <QObject>
#include <QSize>

#include <functional>

namespace zelk {

// The radio screen, the main menu, the web view and the settings screen.
enum class ScreenId { Form1, Form2, Form3, Form5 };
inline constexpr ScreenId kAllScreens[] = {ScreenId::Form1, ScreenId::Form2, ScreenId::Form3,
                                           ScreenId::Form5};

class ScreenManager : public QObject
{
    Q_OBJECT
public:
    enum class Order { ShowFirst, HideFirst };

    // The one way from one screen to another: show the target and hide the
    // screen being left (in the given order), then give the target the
    // place and size of the screen being left.
    void switchScreen(ScreenId from, ScreenId to, Order order = Order::ShowFirst);
    void show(ScreenId screen)
    {
        m_current = screen;
        Q_EMIT shown(screen);
    }
    // The screen shown last.
    ScreenId current() const { return m_current; }
    void hide(ScreenId screen) { Q_EMIT hidden(screen); }
    // The repaint step: the whole screen is drawn again.
    void but_refresh(ScreenId screen) { Q_EMIT repaint(screen); }

    // Ordinary 1280x720 windows at 0,0 from now on; again on every call.
    void chgWin();
    // Set once window mode began; full screen comes back only at a restart.
    FlagValue windowMode;
    // In window mode: a screen's outer size, and the frame of all four.
    void resizeOuter(ScreenId screen, QSize outer) { Q_EMIT outerResized(screen, outer); }
    void setFrames(bool sizeable) { Q_EMIT framesChanged(sizeable); }
    // The desktop asks for the program: the radio screen in front, in place
    // of whichever screen shows.
    void raise() { Q_EMIT raiseRequested(); }

    // The size of a screen's window as it is now (the front end tells).
    QSize size(ScreenId screen) const;
    void setSizeSource(std::function<QSize(ScreenId)> source) { m_size = std::move(source); }

Q_SIGNALS:
    void shown(ScreenId screen);
    void hidden(ScreenId screen);
    void geometryHandedOver(ScreenId from, ScreenId to);
    void repaint(ScreenId screen);
    void windowModeEntered();
    void outerResized(ScreenId screen, QSize outer);
    void framesChanged(bool sizeable);
    void raiseRequested();

private:
    std::function<QSize(ScreenId)> m_size;
    ScreenId m_current = ScreenId::Form1;
};

} // namespace zelk
