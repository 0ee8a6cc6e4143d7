#include "screens/screen.h"

#include "platform/errors.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace zelk {

Screen::Screen(const QString& title, bool stayOnTop, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint
                          | (stayOnTop ? Qt::WindowStaysOnTopHint : Qt::Widget)),
      m_elements(this, kDesignSize), m_stayOnTop(stayOnTop)
{
    setWindowTitle(title);
    setMinimumSize(kMinimumOuterSize);
    resize(kDesignSize);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
}

void Screen::guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const OperationError& e) {
        if (m_dialogs)
            m_dialogs->error(this, e.message());
    }
}

void Screen::placeFullScreen()
{
    QScreen* target = QGuiApplication::primaryScreen();
    const auto screens = QGuiApplication::screens();
    for (QScreen* s : screens) {
        const QRect g = s->geometry();
        if (g.left() <= 1920 && 1920 <= g.right()) {
            target = s;
            break;
        }
    }
    if (target)
        setGeometry(target->geometry());
    setWindowState(Qt::WindowMaximized);
}

void Screen::enterWindowMode()
{
    const bool wasVisible = isVisible();
    m_windowMode = true;
    setWindowState(Qt::WindowNoState);
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                            | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                            | Qt::WindowCloseButtonHint;
    if (m_stayOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    if (windowFlags() != flags)
        setWindowFlags(flags); // hides the window; shown again below
    resize(kDesignSize);
    move(0, 0);
    if (wasVisible)
        show();
}

void Screen::but_refresh()
{
    update();
}

void Screen::onClick(QWidget* w, std::function<void()> handler)
{
    auto run = [this, handler] { guarded(handler); };
    if (auto* l = qobject_cast<ClickLabel*>(w))
        connect(l, &ClickLabel::clicked, this, run);
    else if (auto* a = qobject_cast<ArtWidget*>(w))
        connect(a, &ArtWidget::clicked, this, run);
}

void Screen::onEnter(QWidget* w, std::function<void()> handler)
{
    auto run = [this, handler] { guarded(handler); };
    if (auto* l = qobject_cast<ClickLabel*>(w))
        connect(l, &ClickLabel::entered, this, run);
    else if (auto* a = qobject_cast<ArtWidget*>(w))
        connect(a, &ArtWidget::entered, this, run);
}

void Screen::closeEvent(QCloseEvent* e)
{
    if (m_onClose)
        guarded(m_onClose);
    e->accept();
}

void Screen::resizeEvent(QResizeEvent* e)
{
    // The outer size never goes below the minimum, also when a window
    // manager or the settings try to make it smaller.
    if (width() < kMinimumOuterSize.width() || height() < kMinimumOuterSize.height())
        resize(std::max(width(), kMinimumOuterSize.width()),
               std::max(height(), kMinimumOuterSize.height()));
    QWidget::resizeEvent(e);
}

void switchScreen(QWidget* from, QWidget* to, bool hideFirst)
{
    if (hideFirst) {
        from->hide();
        to->show();
    } else {
        to->show();
        from->hide();
    }
    to->setGeometry(from->geometry());
}

void setLabelColors(QLabel* label, QColor text, QColor background, bool opaque)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Window, background);
    label->setPalette(pal);
    label->setAutoFillBackground(opaque);
}

} // namespace zelk

#include "screens/uitimer.h"

namespace zelk {

void VolumeOverlay::showLevel(int level)
{
    volumebar->setValue(level);
    voltimer->setEnabled(false);
    voltimer->setEnabled(true);
    volbar->show();
}

void VolumeOverlay::hide()
{
    volbar->hide();
    voltimer->setEnabled(false);
}

} // namespace zelk
