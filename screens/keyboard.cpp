#include "screens/keyboard.h"

#include "screens/layout.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QTouchEvent>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelk {

namespace {

enum class Action { Char, Shift, Backspace, Space, Enter };

struct Key
{
    Action action;
    QString base;    // caption and text; for the other actions, the name
    QString shifted; // caption and text while shifted
    int row;
    double x;     // left edge, in key units from the left of the row area
    double width; // in key units
};

// Every row spans 13 key units; the letter rows are staggered like a
// hardware keyboard's. The symbols of web addresses stand on the main layer
// (": / . - ? = & # @ ~ +") or, as on a German keyboard, shifted ("% _").
constexpr double kUnitsWide = 13.0;
constexpr int kRows = 5;

struct RowDef
{
    double indent;
    // A character key is its main character followed by its shifted one; a
    // letter alone is itself and its capital. Longer names are action keys.
    std::vector<std::pair<const char*, double>> keys;
};

const std::vector<Key>& keys()
{
    static const std::vector<Key> table = [] {
        // clang-format off
        const RowDef rows[kRows] = {
            {0, {{"1!", 1}, {"2\"", 1}, {"3§", 1}, {"4$", 1}, {"5%", 1}, {"6&", 1}, {"7/", 1},
                 {"8(", 1}, {"9)", 1}, {"0=", 1}, {"ß?", 1}, {"Backspace", 2}}},
            {0.5, {{"q", 1}, {"w", 1}, {"e", 1}, {"r", 1}, {"t", 1}, {"z", 1}, {"u", 1},
                   {"i", 1}, {"o", 1}, {"p", 1}, {"ü", 1}, {"+*", 1}}},
            {1, {{"a", 1}, {"s", 1}, {"d", 1}, {"f", 1}, {"g", 1}, {"h", 1}, {"j", 1},
                 {"k", 1}, {"l", 1}, {"ö", 1}, {"ä", 1}, {"#'", 1}}},
            {0, {{"Shift", 1.5}, {"y", 1}, {"x", 1}, {"c", 1}, {"v", 1}, {"b", 1}, {"n", 1},
                 {"m", 1}, {",;", 1}, {".:", 1}, {"-_", 1}, {"Shift", 1.5}}},
            {0, {{"@@", 1}, {"::", 1}, {"//", 1}, {"Space", 4}, {"??", 1}, {"==", 1}, {"&&", 1},
                 {"~~", 1}, {"Enter", 2}}},
        };
        // clang-format on
        const std::pair<const char*, Action> named[] = {{"Shift", Action::Shift},
                                                        {"Backspace", Action::Backspace},
                                                        {"Space", Action::Space},
                                                        {"Enter", Action::Enter}};
        std::vector<Key> out;
        for (int r = 0; r < kRows; ++r) {
            double x = rows[r].indent;
            for (const auto& [def, width] : rows[r].keys) {
                const QString s = QString::fromUtf8(def);
                Key k{Action::Char, s, s, r, x, width};
                for (const auto& [name, action] : named)
                    if (s == QLatin1String(name))
                        k.action = action;
                if (k.action == Action::Char) {
                    k.base = s.left(1);
                    k.shifted = s.size() > 1 ? s.mid(1, 1) : s.toUpper();
                }
                out.push_back(k);
                x += width;
            }
        }
        return out;
    }();
    return table;
}

QLinearGradient vertical(const QRectF& r, std::initializer_list<std::pair<qreal, QColor>> stops)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    for (const auto& [at, colour] : stops)
        g.setColorAt(at, colour);
    return g;
}

// The cell of a key in a keyboard of `size`: its share of the rows and
// columns. The key is drawn inside it, a gap narrower.
QRectF cellOf(const Key& k, QSize size)
{
    const qreal margin = std::round(size.height() * 0.03);
    const qreal unitW = (size.width() - 2 * margin) / kUnitsWide;
    const qreal rowH = (size.height() - 2 * margin) / kRows;
    return QRectF(margin + k.x * unitW, margin + k.row * rowH, k.width * unitW, rowH);
}

qreal keyGap(QSize size)
{
    return std::max<qreal>(2,
                           std::min(size.width() / kUnitsWide, qreal(size.height()) / kRows) * 0.1);
}

const QColor kInk(0x17, 0x18, 0x1b);
const QColor kRed(0xce, 0x11, 0x11);

// The symbols of the action keys: outlines about `s` high around `c`.
QPainterPath shiftArrow(QPointF c, qreal s)
{
    QPainterPath path;
    path.moveTo(c.x(), c.y() - s / 2);
    path.lineTo(c.x() + s / 2, c.y());
    path.lineTo(c.x() + s / 4, c.y());
    path.lineTo(c.x() + s / 4, c.y() + s / 2);
    path.lineTo(c.x() - s / 4, c.y() + s / 2);
    path.lineTo(c.x() - s / 4, c.y());
    path.lineTo(c.x() - s / 2, c.y());
    path.closeSubpath();
    return path;
}

QPainterPath backspaceShape(QPointF c, qreal s)
{
    const qreal w = s * 1.4, h = s * 0.8;
    QPainterPath path;
    path.moveTo(c.x() - w / 2, c.y());
    path.lineTo(c.x() - w / 2 + h / 2, c.y() - h / 2);
    path.lineTo(c.x() + w / 2, c.y() - h / 2);
    path.lineTo(c.x() + w / 2, c.y() + h / 2);
    path.lineTo(c.x() - w / 2 + h / 2, c.y() + h / 2);
    path.closeSubpath();
    const QPointF x(c.x() + h / 4, c.y());
    const qreal d = h * 0.2;
    path.moveTo(x + QPointF(-d, -d));
    path.lineTo(x + QPointF(d, d));
    path.moveTo(x + QPointF(d, -d));
    path.lineTo(x + QPointF(-d, d));
    return path;
}

QPainterPath enterArrow(QPointF c, qreal s)
{
    const qreal w = s * 1.3, h = s * 0.8;
    const QPointF corner(c.x() + w / 2, c.y() + h / 4);
    const QPointF tip(c.x() - w / 2, c.y() + h / 4);
    QPainterPath path;
    path.moveTo(c.x() + w / 2, c.y() - h / 2);
    path.lineTo(corner);
    path.lineTo(tip);
    path.moveTo(tip + QPointF(h / 3, -h / 3));
    path.lineTo(tip);
    path.lineTo(tip + QPointF(h / 3, h / 3));
    return path;
}

} // namespace

OnScreenKeyboard::OnScreenKeyboard(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    // Shown as a window of its own, it must not take the activation from
    // the window whose field it types into.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlags(windowFlags() | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_AcceptTouchEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    loadHeadUnitFonts();
}

QRect OnScreenKeyboard::rectOf(int key) const
{
    const qreal gap = keyGap(size());
    return cellOf(keys()[key], size()).adjusted(gap / 2, gap / 2, -gap / 2, -gap / 2).toRect();
}

QString OnScreenKeyboard::captionOf(int key) const
{
    const Key& k = keys()[key];
    return m_shifted ? k.shifted : k.base;
}

QRect OnScreenKeyboard::keyRect(const QString& caption) const
{
    for (int i = 0; i < int(keys().size()); ++i)
        if (captionOf(i) == caption)
            return rectOf(i);
    return {};
}

int OnScreenKeyboard::keyAt(QPointF pos) const
{
    // The cells of neighbouring keys touch: a tap in the gap between two
    // keys counts for the nearer one.
    for (int i = 0; i < int(keys().size()); ++i)
        if (cellOf(keys()[i], size()).contains(pos))
            return i;
    return -1;
}

bool OnScreenKeyboard::isHeld(int key) const
{
    for (const Hold& h : m_holds)
        if (h.key == key && h.inside)
            return true;
    return false;
}

void OnScreenKeyboard::press(int id, QPointF pos)
{
    const int key = keyAt(pos);
    if (key < 0)
        return;
    m_holds.insert(id, Hold{key, true});
    update();
}

void OnScreenKeyboard::move(int id, QPointF pos)
{
    auto it = m_holds.find(id);
    if (it == m_holds.end())
        return;
    const bool inside = keyAt(pos) == it->key;
    if (inside != it->inside) {
        it->inside = inside;
        update();
    }
}

void OnScreenKeyboard::release(int id, QPointF pos)
{
    const Hold hold = m_holds.take(id);
    if (hold.key < 0)
        return;
    update();
    // Last: the receiver of the key may react by hiding or deleting this
    // keyboard (deleteLater), so nothing of it is touched after the key.
    if (keyAt(pos) == hold.key)
        activate(hold.key);
}

void OnScreenKeyboard::activate(int key)
{
    const Key& k = keys()[key];
    if (k.action == Action::Shift) {
        m_shifted = !m_shifted;
        update();
        return;
    }
    const QString text = captionOf(key);
    if (m_shifted) {
        m_shifted = false;
        update();
    }
    switch (k.action) {
    case Action::Char:
        // Qt's key codes of Latin-1 characters are their capitals' code
        // points (Key_A, Key_Slash, Key_Udiaeresis, Key_ssharp, ...).
        sendKey(text.at(0).toUpper().unicode(), text);
        break;
    case Action::Backspace:
        sendKey(Qt::Key_Backspace, QStringLiteral("\b"));
        break;
    case Action::Space:
        sendKey(Qt::Key_Space, QStringLiteral(" "));
        break;
    case Action::Enter:
        sendKey(Qt::Key_Return, QStringLiteral("\r"));
        break;
    case Action::Shift:
        break;
    }
}

void OnScreenKeyboard::sendKey(int qtKey, const QString& text)
{
    // Sent, not posted: the key is in the field before the tap's release
    // handler returns, in the order of the taps. Unaccepted keys travel up
    // to the parents like hardware keys.
    QPointer<QWidget> target = QApplication::focusWidget();
    if (!target)
        return;
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    if (!target)
        return;
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

void OnScreenKeyboard::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        press(-1, e->position());
}

void OnScreenKeyboard::mouseMoveEvent(QMouseEvent* e)
{
    move(-1, e->position());
}

void OnScreenKeyboard::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        release(-1, e->position());
}

bool OnScreenKeyboard::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: {
        auto* te = static_cast<QTouchEvent*>(e);
        for (const QEventPoint& p : te->points()) {
            switch (p.state()) {
            case QEventPoint::Pressed:
                press(p.id(), p.position());
                break;
            case QEventPoint::Updated:
                move(p.id(), p.position());
                break;
            case QEventPoint::Released:
                release(p.id(), p.position());
                break;
            default:
                break;
            }
        }
        e->accept();
        return true;
    }
    case QEvent::TouchCancel:
        m_holds.clear();
        update();
        return true;
    case QEvent::Hide:
        // A key whose tap hid the keyboard, or a finger still down on it,
        // must not show as held when it comes back.
        m_holds.clear();
        return QWidget::event(e);
    default:
        return QWidget::event(e);
    }
}

void OnScreenKeyboard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all = rect();
    p.fillRect(all, vertical(all, {{0, QColor(0x26, 0x27, 0x2c)},
                                   {0.4, QColor(0x16, 0x17, 0x1a)},
                                   {1, QColor(0x0b, 0x0b, 0x0d)}}));
    QLinearGradient rule(all.topLeft(), all.topRight());
    rule.setColorAt(0, QColor(0x8d, 0x90, 0x98, 0x4c));
    rule.setColorAt(0.5, QColor(0xdc, 0xdf, 0xe4));
    rule.setColorAt(1, QColor(0x8d, 0x90, 0x98, 0x4c));
    p.fillRect(QRectF(0, 0, width(), 1), rule);
    QLinearGradient red(all.topLeft(), all.topRight());
    red.setColorAt(0, Qt::transparent);
    red.setColorAt(0.5, kRed);
    red.setColorAt(1, Qt::transparent);
    p.fillRect(QRectF(0, 1, width(), 2), red);
    for (int i = 0; i < int(keys().size()); ++i)
        drawKey(p, i);
}

void OnScreenKeyboard::drawKey(QPainter& p, int key) const
{
    const Key& k = keys()[key];
    const bool held = isHeld(key);
    const bool lit = k.action == Action::Shift && m_shifted;
    const QRectF r = rectOf(key);
    const qreal radius = r.height() * 0.14;

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(r.translated(0, 2).adjusted(-1, -1, 1, 1), radius, radius);

    const bool action = k.action != Action::Char && k.action != Action::Space;
    QLinearGradient body;
    if (held)
        body = vertical(r, {{0, QColor(0x8a, 0x8d, 0x94)}, {1, QColor(0xb4, 0xb7, 0xbd)}});
    else if (action)
        body = vertical(r, {{0, QColor(0xd6, 0xd9, 0xde)},
                            {0.5, QColor(0xad, 0xb1, 0xb8)},
                            {1, QColor(0x80, 0x84, 0x8b)}});
    else
        body = vertical(r, {{0, QColor(0xfa, 0xfa, 0xfb)},
                            {0.5, QColor(0xe0, 0xe2, 0xe5)},
                            {1, QColor(0xa9, 0xad, 0xb4)}});
    p.setBrush(body);
    p.setPen(QPen(held || lit ? kRed : QColor(0x5d, 0x60, 0x67), held || lit ? 2 : 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    if (!held) {
        p.setPen(QPen(QColor(255, 255, 255, 200), 1.2));
        p.drawLine(QPointF(r.left() + radius, r.top() + 2),
                   QPointF(r.right() - radius, r.top() + 2));
    }

    // The face sinks a little while the key is held.
    const QRectF face = r.translated(0, held ? 1 : 0);
    const QPointF c = face.center();
    const qreal s = face.height() * 0.42;
    switch (k.action) {
    case Action::Char: {
        p.setPen(kInk);
        p.setFont(headUnitFont(int(face.height() * 0.5)));
        p.drawText(face, Qt::AlignCenter, captionOf(key));
        // The other layer's character, where it is not just the capital.
        const QString other = m_shifted ? k.base : k.shifted;
        if (k.shifted != k.base.toUpper() && k.shifted != k.base) {
            p.setPen(QColor(0x55, 0x58, 0x5e));
            p.setFont(headUnitFont(int(face.height() * 0.27)));
            const qreal pad = face.height() * 0.1;
            p.drawText(face.adjusted(pad, pad * 0.6, -pad * 1.2, -pad),
                       Qt::AlignRight | Qt::AlignTop, other);
        }
        break;
    }
    case Action::Shift:
        p.setPen(QPen(lit ? kRed : kInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(lit ? QBrush(kRed) : Qt::NoBrush);
        p.drawPath(shiftArrow(c, s));
        break;
    case Action::Backspace:
        p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(backspaceShape(c, s));
        break;
    case Action::Enter:
        p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(enterArrow(c, s));
        break;
    case Action::Space: {
        const qreal w = face.width() * 0.3;
        QPainterPath bracket;
        bracket.moveTo(c.x() - w / 2, c.y() - s / 6);
        bracket.lineTo(c.x() - w / 2, c.y() + s / 6);
        bracket.lineTo(c.x() + w / 2, c.y() + s / 6);
        bracket.lineTo(c.x() + w / 2, c.y() - s / 6);
        p.setPen(QPen(QColor(0x55, 0x58, 0x5e), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(bracket);
        break;
    }
    }
}

} // namespace zelk
