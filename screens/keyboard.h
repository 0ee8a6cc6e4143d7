#pragma once
// The touch keyboard of the settings screen. It types into whichever widget
// has the keyboard focus, as a hardware keyboard would, and never takes the
// focus itself: a tap on a key leaves the focus where it was.

#include <QHash>
#include <QRect>
#include <QString>
#include <QWidget>

class QPainter;

namespace zelk {

class OnScreenKeyboard : public QWidget
{
    Q_OBJECT
public:
    explicit OnScreenKeyboard(QWidget* parent = nullptr);

    // Where the key that shows `caption` now stands: a character as it is
    // drawn on the key (so "A" only while shifted), or one of "Shift",
    // "Backspace", "Space", "Enter". Empty when no key shows it.
    QRect keyRect(const QString& caption) const;
    // The one-shot shift: on until the next key.
    bool isShifted() const { return m_shifted; }

    QSize sizeHint() const override { return {1264, 369}; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    // Touch points are handled here, each on its own, so that two fingers
    // can type; Qt then synthesises no mouse events for them.
    bool event(QEvent* e) override;

private:
    struct Hold
    {
        int key = -1;
        bool inside = false;
    };
    int keyAt(QPointF pos) const;
    QRect rectOf(int key) const;
    QString captionOf(int key) const;
    void press(int id, QPointF pos);
    void move(int id, QPointF pos);
    void release(int id, QPointF pos);
    void activate(int key);
    void sendKey(int qtKey, const QString& text);
    bool isHeld(int key) const;
    void drawKey(QPainter& p, int key) const;

    bool m_shifted = false;
    // Keys held down by the mouse (id -1) and by touch points (their ids);
    // a key acts when its holder lets go inside it.
    QHash<int, Hold> m_holds;
};

} // namespace zelk
