#pragma once
// What the four screens have in common: a borderless 1280x720-design window
// with declared elements, the minimum size, and the close path.

#include "platform/services.h"
#include "screens/layout.h"

#include <QWidget>

#include <functional>

namespace zelk {

inline constexpr QSize kDesignSize{1280, 720};
inline constexpr QSize kMinimumOuterSize{1024, 600};

class Screen : public QWidget
{
    Q_OBJECT
public:
    Screen(const QString& title, bool stayOnTop, QWidget* parent = nullptr);

    ElementSet& elements() { return m_elements; }
    // Runs a handler; an operation that fails is reported in the error box
    // and ends there, as every handler of the program does.
    void guarded(const std::function<void()>& handler);
    void setErrorReporter(std::shared_ptr<Dialogs> dialogs) { m_dialogs = std::move(dialogs); }
    // Invoked by the close handler (the program's shutdown path).
    void setCloseHandler(std::function<void()> handler) { m_onClose = std::move(handler); }

    // Maximised and borderless on the display that holds x = 1920, else on
    // the primary display.
    void placeFullScreen();
    // Ordinary window: sizeable frame with close and minimise buttons and no
    // maximise button, 1280x720 client area at 0,0.
    void enterWindowMode();
    bool inWindowMode() const { return m_windowMode; }

    // Repaint step: the whole client area is repainted as soon as the event
    // loop runs again.
    void but_refresh();

    // Connects a click of `w` (a ClickLabel or ArtWidget) to a guarded handler.
    void onClick(QWidget* w, std::function<void()> handler);
    void onEnter(QWidget* w, std::function<void()> handler);

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    ElementSet m_elements;
    std::shared_ptr<Dialogs> m_dialogs;
    std::function<void()> m_onClose;
    bool m_stayOnTop;
    bool m_windowMode = false;
};

// Shows `to` in place of `from` and hands over place and size. The order of
// show and hide differs between transitions (hide first where a web page is
// involved), the geometry always follows them.
void switchScreen(QWidget* from, QWidget* to, bool hideFirst);

void setLabelColors(QLabel* label, QColor text, QColor background, bool opaque);

} // namespace zelk

namespace zelk {

class UiTimer;

// The volume overlay of a screen: the panel `volbar` with the gauge
// `volumebar`, hidden by the screen's `voltimer` 3000 ms later.
struct VolumeOverlay
{
    QWidget* volbar = nullptr;
    Gauge* volumebar = nullptr;
    UiTimer* voltimer = nullptr;

    // Sets the gauge, restarts the countdown (a full interval from now) and
    // shows the panel.
    void showLevel(int level);
    // Hides the panel and stops the countdown (the timer's tick).
    void hide();
};

} // namespace zelk
