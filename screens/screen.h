#pragma once
// What the four screens have in common: a borderless 1280x720-design window
// with declared elements, the minimum size, and the close path. A screen
// shows the head unit's state and forwards its clicks to it.

#include "app/screenmanager.h"
#include "screens/layout.h"

#include <QWidget>

#include <functional>

namespace zelk {

class HeadUnit;

inline constexpr QSize kDesignSize{1280, 720};
// The smallest outer size of a screen, frame included.
inline constexpr QSize kMinimumOuterSize{1024, 600};

class Screen : public QWidget
{
    Q_OBJECT
public:
    Screen(HeadUnit& unit, ScreenId id, const QString& title, bool stayOnTop,
           Floating floating = Floating::CentreFraction);

    ScreenId id() const { return m_id; }
    ElementSet& elements() { return m_elements; }

    // Maximised and borderless on the preferred display when there is one
    // by that name, else on the display that holds x = 1920, else on the
    // primary display.
    void placeFullScreen();
    static void setPreferredDisplay(const QString& name) { s_preferredDisplay = name; }
    // Ordinary window: sizeable frame with close and minimise buttons and no
    // maximise button, 1280x720 client area at 0,0.
    void enterWindowMode();
    bool inWindowMode() const { return m_windowMode; }
    // Fixed or sizeable frame in window mode.
    void setSizeable(bool sizeable);
    // The window's outer size, frame included, also when its frame is fixed.
    void resizeOuter(QSize outer);
    // Takes the place and size of `other`, also under a fixed frame, which
    // holds a size of its own until it is given another.
    void takePlaceOf(const QWidget& other);
    // In window mode the window snaps to the edges of its display.
    void setSnapsToEdges(bool on) { m_snaps = on; }

    // Repaint step: the whole client area is repainted as soon as the event
    // loop runs again.
    void but_refresh() { update(); }

    // A caption that only the language changes (labels, buttons, boxes).
    void setCaption(const QString& element, const QString& text);

    // A click of `w` (a ClickLabel, ArtWidget or button) runs `handler` as
    // input of the head unit: now, or after an operation that waits.
    void onClick(QWidget* w, std::function<void()> handler);
    void onEnter(QWidget* w, std::function<void()> handler);

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void showEvent(QShowEvent* e) override;

    HeadUnit& m_unit;

private:
    void keepMinimumOuterSize();
    void snapToEdges();

    ScreenId m_id;
    ElementSet m_elements;
    bool m_stayOnTop;
    bool m_windowMode = false;
    bool m_sizeable = true;
    bool m_snaps = false;
    bool m_snapping = false;
    static inline QString s_preferredDisplay;
};

void setLabelColors(QLabel* label, QColor text, QColor background);

} // namespace zelk
