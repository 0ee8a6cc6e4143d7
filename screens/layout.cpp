#include "screens/layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSvgRenderer>

#include <cmath>

namespace zelk {

namespace {

// One axis of placeRect: start and length inside a container of `total`
// that was `designTotal` in the design.
std::pair<int, int> placeAxis(int start, int length, bool nearSide, bool farSide, int designTotal,
                              int total, Floating floating)
{
    if (nearSide && farSide)
        return {start, length + (total - designTotal)};
    if (farSide)
        return {start + (total - designTotal), length};
    if (nearSide)
        return {start, length};
    if (floating == Floating::HalfChange)
        return {start + (total - designTotal) / 2, length};
    const double centre = (start + length / 2.0) / designTotal;
    return {static_cast<int>(std::lround(centre * total - length / 2.0)), length};
}

} // namespace

QRect placeRect(const QRect& design, unsigned anchors, QSize designSize, QSize actual,
                Floating floating)
{
    const auto [x, w] =
        placeAxis(design.x(), design.width(), anchors & AnchorLeft, anchors & AnchorRight,
                  designSize.width(), actual.width(), floating);
    const auto [y, h] =
        placeAxis(design.y(), design.height(), anchors & AnchorTop, anchors & AnchorBottom,
                  designSize.height(), actual.height(), floating);
    return QRect(x, y, std::max(0, w), std::max(0, h));
}

DesignLayout::DesignLayout(QWidget* container, QSize designSize, Floating floating)
    : QObject(container), m_container(container), m_designSize(designSize), m_floating(floating)
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
            placeRect(item.design, item.anchors, m_designSize, m_container->size(), m_floating));
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

QRectF ArtWidget::artRect() const
{
    if (m_stretched || !m_renderer || !m_renderer->isValid())
        return QRectF(rect());
    return QRectF(QPointF(0, 0), QSizeF(m_renderer->defaultSize()));
}

void ArtWidget::paintEvent(QPaintEvent*)
{
    if (!m_renderer || !m_renderer->isValid())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    m_renderer->render(&p, artRect());
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

PageBox::PageBox(QWidget* parent) : QGroupBox(parent) {}

void PageBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor fill = palette().color(QPalette::Window);
    p.fillRect(rect(), fill);
    const QFontMetrics fm(font());
    // The frame runs through the middle of the title, which interrupts it.
    const QRectF frame = QRectF(rect()).adjusted(4.5, fm.height() / 2.0, -4.5, -4.5);
    p.setPen(QPen(QColor(0x1E, 0x1F, 0x22), 3.0));
    p.drawRoundedRect(frame.translated(1, 1), 8, 8);
    p.setPen(QPen(QColor(0xB4, 0xB8, 0xBF), 1.5));
    p.drawRoundedRect(frame, 8, 8);
    const QRect titleRect(18, 0, fm.horizontalAdvance(title()), fm.height());
    p.fillRect(titleRect, fill);
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, title());
}

namespace {

// A tap anywhere in the box of a check box or radio button toggles it, not
// only on its indicator or text: the boxes are sized for a finger.
template <class Button> class WholeBoxButton : public Button
{
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

bool isControl(Kind kind)
{
    switch (kind) {
    case Kind::Edit:
    case Kind::Button:
    case Kind::Check:
    case Kind::Radio:
    case Kind::Spin:
    case Kind::Combo:
        return true;
    default:
        return false;
    }
}

QString cssColor(const QColor& c)
{
    return QStringLiteral("rgba(%1,%2,%3,%4)")
        .arg(c.red())
        .arg(c.green())
        .arg(c.blue())
        .arg(c.alpha());
}

// The plates of the push buttons and of the spin and combo box arrows: the
// silver of the bottom bar's button plates.
const QString kPlate = QStringLiteral(
    "qlineargradient(x1:0,y1:0,x2:0,y2:1,stop:0 #fafafb,stop:0.5 #e8e9eb,stop:1 #c6c8cc)");
const QString kPlatePressed = QStringLiteral(
    "qlineargradient(x1:0,y1:0,x2:0,y2:1,stop:0 #aeb1b7,stop:0.6 #d2d4d8,stop:1 #e4e5e8)");

QString styleSheetFor(Kind kind, const Look& look)
{
    const QString text = cssColor(look.color);
    const QString field = cssColor(look.background);
    switch (kind) {
    case Kind::Edit:
        return QStringLiteral("QLineEdit{color:%1;background:%2;border:1px solid #7f838a;"
                              "border-radius:3px;padding:0 5px;selection-color:white;"
                              "selection-background-color:#ce1111;}"
                              "QLineEdit:focus{border:2px solid #ce1111;padding:0 4px;}")
            .arg(text, field);
    case Kind::Button:
        return QStringLiteral("QPushButton{color:%1;background:%2;border:1px solid #7f838a;"
                              "border-bottom-color:#4a4d53;border-radius:6px;padding:0 8px;}"
                              "QPushButton:pressed{background:%3;padding-top:2px;}"
                              "QPushButton:focus{border-color:#ce1111;}"
                              "QPushButton:disabled{color:#8d9098;}")
            .arg(text, kPlate, kPlatePressed);
    case Kind::Check:
    case Kind::Radio: {
        const QString type =
            kind == Kind::Check ? QStringLiteral("QCheckBox") : QStringLiteral("QRadioButton");
        // Round for a radio button: half of the indicator with its border.
        const QString radius = kind == Kind::Check ? QStringLiteral("4px") : QStringLiteral("11px");
        const QString checked =
            kind == Kind::Check
                ? QStringLiteral("background:#ce1111;border-color:#f2f4f7;"
                                 "image:url(:/art/check_mark.svg);")
                : QStringLiteral("border-color:#f2f4f7;background:qradialgradient(cx:0.5,cy:0.5,"
                                 "radius:0.5,fx:0.4,fy:0.4,stop:0 #ff5a5a,stop:0.48 #ce1111,"
                                 "stop:0.56 #2a2b2f,stop:1 #2a2b2f);");
        return QStringLiteral("%1{color:%2;spacing:6px;}%1:disabled{color:#8d9098;}"
                              "%1::indicator{width:18px;height:18px;border:2px solid #c9ccd2;"
                              "border-radius:%3;background:#2a2b2f;}"
                              "%1::indicator:checked{%4}"
                              "%1::indicator:disabled{border-color:#6b6e74;}")
            .arg(type, text, radius, checked);
    }
    case Kind::Spin:
        return QStringLiteral(
                   "QSpinBox{color:%1;background:%2;border:1px solid #7f838a;border-radius:3px;"
                   "padding:0 2px;selection-color:white;selection-background-color:#ce1111;}"
                   "QSpinBox:focus{border:2px solid #ce1111;}"
                   "QSpinBox:disabled{color:#55585e;background:#c9ccd2;}"
                   "QSpinBox::up-button,QSpinBox::down-button{subcontrol-origin:border;"
                   "width:20px;background:%3;border-left:1px solid #7f838a;}"
                   "QSpinBox::up-button{subcontrol-position:top right;"
                   "border-top-right-radius:3px;}"
                   "QSpinBox::down-button{subcontrol-position:bottom right;"
                   "border-bottom-right-radius:3px;border-top:1px solid #7f838a;}"
                   "QSpinBox::up-button:pressed,QSpinBox::down-button:pressed{background:%4;}"
                   "QSpinBox::up-arrow{image:url(:/art/arrow_up.svg);width:10px;height:6px;}"
                   "QSpinBox::down-arrow{image:url(:/art/arrow_down.svg);width:10px;height:6px;}"
                   "QSpinBox::up-arrow:disabled,QSpinBox::down-arrow:disabled{image:none;}")
            .arg(text, field, kPlate, kPlatePressed);
    case Kind::Combo:
        return QStringLiteral(
                   "QComboBox{color:%1;background:%2;border:1px solid #7f838a;border-radius:3px;"
                   "padding:0 5px;selection-color:white;selection-background-color:#ce1111;}"
                   "QComboBox:focus{border:2px solid #ce1111;padding:0 4px;}"
                   "QComboBox::drop-down{subcontrol-origin:border;subcontrol-position:top right;"
                   "width:32px;background:%3;border-left:1px solid #7f838a;"
                   "border-top-right-radius:3px;border-bottom-right-radius:3px;}"
                   "QComboBox::drop-down:on{background:%4;}"
                   "QComboBox::down-arrow{image:url(:/art/arrow_down.svg);width:14px;height:8px;}"
                   "QComboBox QAbstractItemView{color:%1;background:%2;outline:0;"
                   "selection-color:white;selection-background-color:#ce1111;}")
            .arg(text, field, kPlate, kPlatePressed);
    default:
        return {};
    }
}

} // namespace

void styleControl(QWidget* w, Kind kind, const Look& look)
{
    QFont font = headUnitFont(look.fontPx, look.bold);
    font.setItalic(look.italic);
    w->setFont(font);
    w->setStyleSheet(styleSheetFor(kind, look));
    // A tap on a button leaves the keyboard focus in the field being typed
    // into; the tab key still reaches every control.
    if (kind == Kind::Button || kind == Kind::Check || kind == Kind::Radio)
        w->setFocusPolicy(Qt::TabFocus);
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

Look italic(Look l)
{
    l.italic = true;
    return l;
}

Look covering(Look l)
{
    l.cover = true;
    return l;
}

Look ownSize(Look l)
{
    l.ownSize = true;
    return l;
}

Look fieldLook(int px)
{
    Look l = textLook(px, Qt::AlignLeft | Qt::AlignVCenter, Qt::black);
    l.background = Qt::white;
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

ElementSet::ElementSet(QWidget* screen, QSize designSize, Floating floating)
    : m_screen(screen), m_floating(floating)
{
    m_layouts.insert(screen, new DesignLayout(screen, designSize, floating));
}

void ElementSet::build(std::span<const Element> elements)
{
    loadHeadUnitFonts();
    for (const Element& e : elements) {
        QWidget* parent = e.parent ? m_widgets.value(QString::fromLatin1(e.parent)) : m_screen;
        Q_ASSERT(parent);
        QWidget* w = nullptr;
        switch (e.kind) {
        case Kind::Image: {
            auto* image = new ArtWidget(e.look.art, parent);
            image->setStretched(!e.look.ownSize);
            w = image;
            break;
        }
        case Kind::Label: {
            auto* l = new ClickLabel(parent);
            QFont font = headUnitFont(e.look.fontPx, e.look.bold);
            font.setItalic(e.look.italic);
            l->setFont(font);
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
            m_layouts.insert(w, new DesignLayout(w, e.rect.size(), m_floating));
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
        case Kind::Page: {
            auto* page = new PageBox(parent);
            page->setTitle(e.text);
            page->setFont(headUnitFont(e.look.fontPx, e.look.bold));
            QPalette pal = page->palette();
            pal.setColor(QPalette::Window, e.look.background);
            pal.setColor(QPalette::WindowText, e.look.color);
            page->setPalette(pal);
            m_layouts.insert(page, new DesignLayout(page, e.rect.size(), m_floating));
            w = page;
            break;
        }
        case Kind::Edit: {
            auto* edit = new QLineEdit(e.text, parent);
            edit->setCursorPosition(0);
            w = edit;
            break;
        }
        case Kind::Button:
            w = new QPushButton(e.text, parent);
            break;
        case Kind::Check:
            w = new WholeBoxButton<QCheckBox>(e.text, parent);
            break;
        case Kind::Radio:
            w = new WholeBoxButton<QRadioButton>(e.text, parent);
            break;
        case Kind::Spin: {
            auto* spin = new QSpinBox(parent);
            spin->setRange(e.minimum, e.maximum);
            spin->setValue(e.text.toInt());
            // A typed number outside the range goes to the nearest bound when
            // the box loses the focus, and a text that is no number to the
            // lower bound.
            spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
            w = spin;
            break;
        }
        case Kind::Combo: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->addItems(e.items);
            combo->setCurrentText(e.text);
            w = combo;
            break;
        }
        }
        if (isControl(e.kind))
            styleControl(w, e.kind, e.look);
        w->setObjectName(QString::fromLatin1(e.name));
        if (e.look.hand)
            w->setCursor(Qt::PointingHandCursor);
        // A caption or picture over a tile must not swallow the tile's taps
        // and hovers: only what acts on a tap takes it.
        if ((e.kind == Kind::Label || e.kind == Kind::Image) && !e.look.hand && !e.look.cover)
            w->setAttribute(Qt::WA_TransparentForMouseEvents);
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
