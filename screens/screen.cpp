#include "screens/screen.h"

#include "app/headunit.h"
#include "platform/log.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>

namespace zelk {

namespace {
// How close a window edge comes to a display edge before it snaps to it.
constexpr int kSnapDistance = 10;
} // namespace

Screen::Screen(HeadUnit& unit, ScreenId id, const QString& title, bool stayOnTop, Floating floating)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint |
                           (stayOnTop ? Qt::WindowStaysOnTopHint : Qt::Widget)),
      m_unit(unit), m_id(id), m_elements(this, kDesignSize, floating), m_stayOnTop(stayOnTop)
{
    setWindowTitle(title);
    setMinimumSize(kMinimumOuterSize);
    resize(kDesignSize);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
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
    if (!s_preferredDisplay.isEmpty()) {
        QScreen* named = nullptr;
        for (QScreen* s : screens)
            if (s->name() == s_preferredDisplay)
                named = s;
        static bool told = false;
        if (named)
            target = named;
        else if (!std::exchange(told, true))
            qCWarning(lcDesktop).noquote()
                << "no display called" << s_preferredDisplay << "- the usual one is taken";
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
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                            Qt::WindowCloseButtonHint;
    if (m_stayOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    if (windowFlags() != flags)
        setWindowFlags(flags); // hides the window; shown again below
    m_sizeable = true;
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // A fixed frame held the minimum at its size, which would keep the
    // window from going back to the design size.
    keepMinimumOuterSize();
    resize(kDesignSize);
    move(0, 0);
    if (wasVisible)
        show();
}

void Screen::setSizeable(bool sizeable)
{
    if (!m_windowMode)
        return;
    m_sizeable = sizeable;
    if (sizeable) {
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        // A fixed frame held the minimum at the fixed size.
        keepMinimumOuterSize();
    } else {
        setFixedSize(size());
    }
}

void Screen::resizeOuter(QSize outer)
{
    const QSize inner = outer - (frameGeometry().size() - geometry().size());
    if (m_sizeable)
        resize(inner);
    else
        setFixedSize(inner);
}

void Screen::takePlaceOf(const QWidget& other)
{
    const QRect place = other.geometry();
    if (m_windowMode && !m_sizeable)
        setFixedSize(place.size());
    setGeometry(place);
}

void Screen::setCaption(const QString& element, const QString& text)
{
    QWidget* w = m_elements.find(element.toLatin1().constData());
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(w))
        box->setTitle(text);
}

void Screen::onClick(QWidget* w, std::function<void()> handler)
{
    w->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    auto run = [this, handler] { m_unit.seq.input(handler); };
    if (auto* l = qobject_cast<ClickLabel*>(w))
        connect(l, &ClickLabel::clicked, this, run);
    else if (auto* a = qobject_cast<ArtWidget*>(w))
        connect(a, &ArtWidget::clicked, this, run);
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        connect(b, &QAbstractButton::clicked, this, run);
}

void Screen::onEnter(QWidget* w, std::function<void()> handler)
{
    w->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    auto run = [this, handler] { m_unit.seq.input(handler); };
    if (auto* l = qobject_cast<ClickLabel*>(w))
        connect(l, &ClickLabel::entered, this, run);
    else if (auto* a = qobject_cast<ArtWidget*>(w))
        connect(a, &ArtWidget::entered, this, run);
}

void Screen::closeEvent(QCloseEvent* e)
{
    // While an operation waits, the window stays until its turn has come.
    if (m_unit.seq.holding())
        e->ignore();
    else
        e->accept();
    const ScreenId id = m_id;
    HeadUnit* unit = &m_unit;
    m_unit.seq.post([unit, id] { unit->closeScreen(id); });
}

void Screen::keepMinimumOuterSize()
{
    // The frame of window mode counts into the minimum: the outer size never
    // goes below 1024x600, also when the settings try to make it smaller.
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize least(std::max(0, kMinimumOuterSize.width() - frame.width()),
                      std::max(0, kMinimumOuterSize.height() - frame.height()));
    if (minimumSize() != least && m_sizeable)
        setMinimumSize(least);
    if (width() < least.width() || height() < least.height())
        resize(std::max(width(), least.width()), std::max(height(), least.height()));
}

void Screen::resizeEvent(QResizeEvent* e)
{
    keepMinimumOuterSize();
    QWidget::resizeEvent(e);
}

void Screen::showEvent(QShowEvent* e)
{
    keepMinimumOuterSize();
    QWidget::showEvent(e);
}

void Screen::moveEvent(QMoveEvent* e)
{
    QWidget::moveEvent(e);
    if (m_windowMode && m_snaps && !m_snapping)
        snapToEdges();
}

void Screen::snapToEdges()
{
    QScreen* display = screen();
    if (!display)
        return;
    const QRect area = display->availableGeometry();
    const QRect outer = frameGeometry();
    QPoint to = outer.topLeft();
    if (std::abs(outer.left() - area.left()) <= kSnapDistance)
        to.setX(area.left());
    else if (std::abs(outer.right() - area.right()) <= kSnapDistance)
        to.setX(area.right() - outer.width() + 1);
    if (std::abs(outer.top() - area.top()) <= kSnapDistance)
        to.setY(area.top());
    else if (std::abs(outer.bottom() - area.bottom()) <= kSnapDistance)
        to.setY(area.bottom() - outer.height() + 1);
    if (to != outer.topLeft()) {
        m_snapping = true;
        move(to);
        m_snapping = false;
    }
}

void setLabelColors(QLabel* label, QColor text, QColor background)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Window, background);
    label->setPalette(pal);
}

} // namespace zelk
