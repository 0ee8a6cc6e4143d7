#include "screens/layout.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QSvgRenderer>

#include <cmath>

namespace zelk {

namespace {

// One axis of placeRect: start and length inside a container of `total`
// that was `designTotal` in the design.
std::pair<int, int> placeAxis(int start, int length, bool nearSide, bool farSide, int designTotal,
                              int total)
{
    if (nearSide && farSide)
        return {start, length + (total - designTotal)};
    if (farSide)
        return {start + (total - designTotal), length};
    if (nearSide)
        return {start, length};
    const double centre = (start + length / 2.0) / designTotal;
    return {static_cast<int>(std::lround(centre * total - length / 2.0)), length};
}

} // namespace

QRect placeRect(const QRect& design, unsigned anchors, QSize designSize, QSize actual)
{
    const auto [x, w] = placeAxis(design.x(), design.width(), anchors & AnchorLeft,
                                  anchors & AnchorRight, designSize.width(), actual.width());
    const auto [y, h] = placeAxis(design.y(), design.height(), anchors & AnchorTop,
                                  anchors & AnchorBottom, designSize.height(), actual.height());
    return QRect(x, y, std::max(0, w), std::max(0, h));
}

DesignLayout::DesignLayout(QWidget* container, QSize designSize)
    : QObject(container), m_container(container), m_designSize(designSize)
{
    container->installEventFilter(this);
}

void DesignLayout::add(QWidget* w, const QRect& design, unsigned anchors)
{
    m_items.append(Item{w, design, anchors});
    place(m_items.last());
}

void DesignLayout::setDesignTop(QWidget* w, int top)
{
    for (auto& item : m_items) {
        if (item.widget == w) {
            item.design.moveTop(top);
            place(item);
        }
    }
}

int DesignLayout::designTop(QWidget* w) const
{
    return designRect(w).top();
}

QRect DesignLayout::designRect(QWidget* w) const
{
    for (const auto& item : m_items)
        if (item.widget == w)
            return item.design;
    return {};
}

void DesignLayout::relayout()
{
    for (const auto& item : m_items)
        place(item);
}

void DesignLayout::place(const Item& item) const
{
    if (item.widget)
        item.widget->setGeometry(
            placeRect(item.design, item.anchors, m_designSize, m_container->size()));
}

bool DesignLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_container && event->type() == QEvent::Resize)
        relayout();
    return false;
}

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(e);
}

void ClickLabel::enterEvent(QEnterEvent* e)
{
    Q_EMIT entered();
    QLabel::enterEvent(e);
}

namespace {

// One parsed picture per art file, shared by every element that shows it
// (the six preset discs, the speakers of two screens, ...).
QSvgRenderer* sharedRenderer(const QString& art)
{
    static QHash<QString, QSvgRenderer*> renderers;
    QSvgRenderer*& renderer = renderers[art];
    if (!renderer)
        renderer = new QSvgRenderer(art, QCoreApplication::instance());
    return renderer;
}

} // namespace

ArtWidget::ArtWidget(const QString& art, QWidget* parent) : QWidget(parent), m_art(art)
{
    if (!art.isEmpty())
        m_renderer = sharedRenderer(art);
}

void ArtWidget::paintEvent(QPaintEvent*)
{
    if (!m_renderer || !m_renderer->isValid())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    m_renderer->render(&p, QRectF(rect()));
}

void ArtWidget::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        Q_EMIT clicked();
    QWidget::mouseReleaseEvent(e);
}

void ArtWidget::enterEvent(QEnterEvent* e)
{
    Q_EMIT entered();
    QWidget::enterEvent(e);
}

Gauge::Gauge(QWidget* parent) : QWidget(parent) {}

void Gauge::setValue(int value)
{
    // Like a progress bar, the gauge holds only values of its range.
    m_value = std::clamp(value, 0, m_maximum);
    update();
}

void Gauge::setMaximum(int maximum)
{
    m_maximum = std::max(0, maximum);
    m_value = std::clamp(m_value, 0, m_maximum);
    update();
}

void Gauge::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_background);
    if (m_maximum > 0)
        p.fillRect(QRect(0, 0, static_cast<int>(qint64(width()) * m_value / m_maximum), height()),
                   m_bar);
    if (m_showText) {
        p.setFont(headUnitFont(35));
        p.setPen(Qt::white);
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("%1%").arg(m_value));
    }
}

Look artLook(const char* name, bool hand)
{
    Look l;
    l.art = QStringLiteral(":/art/%1.svg").arg(QLatin1String(name));
    l.hand = hand;
    return l;
}

Look textLook(int px, Qt::Alignment align, QColor color)
{
    Look l;
    l.fontPx = px;
    l.align = align;
    l.color = color;
    return l;
}

Look wrapped(Look l)
{
    l.wordWrap = true;
    return l;
}

Look bold(Look l)
{
    l.bold = true;
    return l;
}

Look clickable(Look l)
{
    l.hand = true;
    return l;
}

Look filled(QColor background)
{
    Look l;
    l.background = background;
    return l;
}

void loadHeadUnitFonts()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/Carlito-Regular.ttf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/Carlito-Bold.ttf"));
}

QFont headUnitFont(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("Carlito"));
    f.setPixelSize(std::max(1, pixelSize));
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

ElementSet::ElementSet(QWidget* screen, QSize designSize) : m_screen(screen)
{
    m_layouts.insert(screen, new DesignLayout(screen, designSize));
}

void ElementSet::build(std::span<const Element> elements)
{
    loadHeadUnitFonts();
    for (const Element& e : elements) {
        QWidget* parent = e.parent ? m_widgets.value(QString::fromLatin1(e.parent)) : m_screen;
        Q_ASSERT(parent);
        QWidget* w = nullptr;
        switch (e.kind) {
        case Kind::Image:
            w = new ArtWidget(e.look.art, parent);
            break;
        case Kind::Label: {
            auto* l = new ClickLabel(parent);
            l->setFont(headUnitFont(e.look.fontPx, e.look.bold));
            l->setAlignment(e.look.align);
            l->setWordWrap(e.look.wordWrap);
            QPalette pal = l->palette();
            pal.setColor(QPalette::WindowText, e.look.color);
            pal.setColor(QPalette::Window, e.look.background);
            // A disabled label is drawn greyed out.
            pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x9A, 0x9A, 0x9A));
            l->setPalette(pal);
            l->setAutoFillBackground(e.look.background.alpha() > 0);
            l->setEnabled(!e.look.greyed);
            l->setText(e.text);
            w = l;
            break;
        }
        case Kind::Panel: {
            if (e.look.art.isEmpty()) {
                w = new QWidget(parent);
            } else {
                w = new ArtWidget(e.look.art, parent);
            }
            if (e.look.background.alpha() > 0) {
                QPalette pal = w->palette();
                pal.setColor(QPalette::Window, e.look.background);
                w->setPalette(pal);
                w->setAutoFillBackground(true);
            }
            // Children of a panel are laid out in its own design size.
            m_layouts.insert(w, new DesignLayout(w, e.rect.size()));
            break;
        }
        case Kind::Gauge:
            w = new Gauge(parent);
            break;
        case Kind::Bar: {
            auto* g = new Gauge(parent);
            g->setShowText(false);
            g->setColors(QColor(0x20, 0x20, 0x20), e.look.color);
            g->setValue(0);
            w = g;
            break;
        }
        case Kind::Busy: {
            auto* b = new QProgressBar(parent);
            b->setRange(0, 0);
            b->setTextVisible(false);
            b->setStyleSheet(QStringLiteral(
                "QProgressBar{background:#2c2c2c;border:1px solid #555;border-radius:4px;}"
                "QProgressBar::chunk{background:#ce1111;}"));
            w = b;
            break;
        }
        }
        w->setObjectName(QString::fromLatin1(e.name));
        if (e.look.hand)
            w->setCursor(Qt::PointingHandCursor);
        m_layouts.value(parent)->add(w, e.rect, e.anchors);
        w->setVisible(e.visible);
        m_widgets.insert(QString::fromLatin1(e.name), w);
    }
}

QWidget* ElementSet::find(const char* name) const
{
    return m_widgets.value(QString::fromLatin1(name));
}

QWidget* ElementSet::widget(const char* name) const
{
    QWidget* w = m_widgets.value(QString::fromLatin1(name));
    Q_ASSERT_X(w, "ElementSet::widget", name);
    return w;
}

ClickLabel* ElementSet::label(const char* name) const
{
    return qobject_cast<ClickLabel*>(widget(name));
}

ArtWidget* ElementSet::image(const char* name) const
{
    return qobject_cast<ArtWidget*>(widget(name));
}

Gauge* ElementSet::gauge(const char* name) const
{
    return qobject_cast<Gauge*>(widget(name));
}

DesignLayout* ElementSet::layoutOf(QWidget* w) const
{
    return w ? m_layouts.value(w->parentWidget()) : nullptr;
}

void ElementSet::adopt(const char* name, QWidget* w, const QRect& design, unsigned anchors)
{
    w->setObjectName(QString::fromLatin1(name));
    m_layouts.value(w->parentWidget())->add(w, design, anchors);
    w->lower();
    m_widgets.insert(QString::fromLatin1(name), w);
}

void ElementSet::setDesignTop(QWidget* w, int top)
{
    if (auto* l = layoutOf(w))
        l->setDesignTop(w, top);
}

int ElementSet::designTop(QWidget* w) const
{
    auto* l = layoutOf(w);
    return l ? l->designTop(w) : 0;
}

} // namespace zelk
