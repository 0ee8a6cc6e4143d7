#pragma once
// The head unit's own message box: the dark dialog field of the screens,
// white text in the program's font and one silver OK plate large enough for
// a finger, in the middle of the screen in front.
//
// exec() is modal and runs a nested event loop: the program's timers keep
// ticking while the box is open, and the screens take no input.

#include <QDialog>
#include <QTextLayout>

class QPushButton;
class QSvgRenderer;

namespace zelk {

class HeadUnitMessage : public QDialog
{
    Q_OBJECT
public:
    // `over`: the screen in front, or null before there is one (the box then
    // stands in the middle of the primary display).
    HeadUnitMessage(const QString& text, QWidget* over);

    QString text() const { return m_text; }
    QPushButton* okButton() const { return m_ok; }
    // Where the text is drawn, in the box's own coordinates.
    QRect textRect() const { return m_textRect; }

    // Shows the box and returns when it has been closed.
    static void run(const QString& text, QWidget* over);

protected:
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void layOutText(int width);
    void centre();

    QString m_text;
    QWidget* m_over;
    QPushButton* m_ok;
    QSvgRenderer* m_field;
    QTextLayout m_layout;
    QRect m_textRect;
};

} // namespace zelk
