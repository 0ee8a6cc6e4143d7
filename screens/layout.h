#pragma once
// Elements of a screen are declared as data: name, kind, design rectangle in
// the 1280x720 design, anchors and look. DesignLayout keeps every element in
// place when its container changes size:
//  - anchored to both sides of an axis: the element stretches;
//  - anchored to one side: it keeps its distance to that side and its size;
//  - anchored to neither: it keeps its size, and its centre stays at the same
//    fraction of the container.

#include <QColor>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <span>

class QSvgRenderer;

namespace zelk {

enum Anchor : unsigned {
    AnchorNone = 0,
    AnchorLeft = 1,
    AnchorTop = 2,
    AnchorRight = 4,
    AnchorBottom = 8,
    AnchorTopLeft = AnchorLeft | AnchorTop,
    AnchorAll = AnchorLeft | AnchorTop | AnchorRight | AnchorBottom,
};

// How an element anchored to neither side of an axis follows its container:
// its centre stays at the same fraction of the container, or it moves by half
// of the change of size (the settings screen's rule). Both keep a centred
// element centred; they part for elements off the centre.
enum class Floating { CentreFraction, HalfChange };

// Where an element with `design` geometry and `anchors` stands in a container
// of size `actual` whose design size is `designSize`.
QRect placeRect(const QRect& design, unsigned anchors, QSize designSize, QSize actual,
                Floating floating = Floating::CentreFraction);

class DesignLayout : public QObject
{
    Q_OBJECT
public:
    DesignLayout(QWidget* container, QSize designSize,
                 Floating floating = Floating::CentreFraction);

    void add(QWidget* w, const QRect& design, unsigned anchors);
    // Moves an element in design coordinates (parking at top 1000 and back).
    void setDesignTop(QWidget* w, int top);
    int designTop(QWidget* w) const;
    QRect designRect(QWidget* w) const;
    void relayout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Item
    {
        QPointer<QWidget> widget;
        QRect design;
        unsigned anchors;
    };
    void place(const Item& item) const;

    QWidget* m_container;
    QSize m_designSize;
    Floating m_floating;
    QList<Item> m_items;
};

// A label that reports clicks and the pointer entering it. Texts are always
// plain text: station names and titles come from outside.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr);
Q_SIGNALS:
    void clicked();
    void entered();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
};

// An image drawn from the program's SVG art, stretched over the element or
// at the art's own size in its top-left corner. An element without art is an
// invisible click area.
class ArtWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ArtWidget(const QString& art, QWidget* parent = nullptr);
    QString art() const { return m_art; }
    void setStretched(bool stretched)
    {
        m_stretched = stretched;
        update();
    }
    bool stretched() const { return m_stretched; }
    // Where the art is drawn inside the element.
    QRectF artRect() const;
Q_SIGNALS:
    void clicked();
    void entered();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;

private:
    QString m_art;
    QSvgRenderer* m_renderer = nullptr;
    bool m_stretched = true;
};

// A horizontal gauge 0..maximum (100 unless set), with its value as centred
// "%d%%" text, or a bare progress line.
class Gauge : public QWidget
{
    Q_OBJECT
public:
    explicit Gauge(QWidget* parent = nullptr);
    // Values outside the range are held at its ends.
    void setValue(int value);
    int value() const { return m_value; }
    // A maximum of 0 is an empty range: nothing is filled.
    void setMaximum(int maximum);
    int maximum() const { return m_maximum; }
    void setColors(QColor background, QColor bar)
    {
        m_background = background;
        m_bar = bar;
        update();
    }
    void setShowText(bool on)
    {
        m_showText = on;
        update();
    }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int m_value = 50;
    int m_maximum = 100;
    QColor m_background{0x2C, 0x2C, 0x2C};
    QColor m_bar{0xCE, 0x11, 0x11};
    bool m_showText = true;
};

// A framed box with a title over a filled field, like a settings page. Its
// children are laid out in the box's own design size, as in a panel.
class PageBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit PageBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;
};

// Bar: a thin progress line; Busy: an indeterminate (marquee) progress bar.
// Page: a PageBox titled with the element's text. The controls: Edit (line
// edit with the text), Button (push button), Check (check box), Radio (radio
// button; those of one container exclude each other), Spin (whole numbers
// within the element's range, the text its value), Combo (editable combo box
// with the element's items, the text typed into it).
enum class Kind {
    Image,
    Label,
    Panel,
    Gauge,
    Bar,
    Busy,
    Page,
    Edit,
    Button,
    Check,
    Radio,
    Spin,
    Combo
};

struct Look
{
    QString art;    // images and panels with a picture
    int fontPx = 0; // character height in pixels
    bool bold = false;
    bool italic = false;
    QColor color = Qt::white;
    QColor background = Qt::transparent;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    bool wordWrap = false;
    bool hand = false;   // hand cursor: the element is clickable
    bool greyed = false; // drawn like a disabled label
    // Labels and images that are not clickable let taps and the pointer
    // through to what lies under them, unless they cover it on purpose.
    bool cover = false;
    bool ownSize = false; // art at its own size in the top-left, not stretched
};

struct Element
{
    const char* name;
    Kind kind;
    QRect rect;
    unsigned anchors;
    Look look;
    QString text;
    bool visible = true;
    const char* parent = nullptr; // a panel or page declared before, else the screen
    int minimum = 0;              // the range of a spin box
    int maximum = 0;
    QStringList items = {}; // the choices of a combo box
};

// Shorthands for the looks of the element tables.
Look artLook(const char* name, bool hand = false); // ":/art/<name>.svg"
Look textLook(int px, Qt::Alignment align = Qt::AlignCenter, QColor color = Qt::white);
Look wrapped(Look l);
Look bold(Look l);
Look clickable(Look l);
Look filled(QColor background);
Look italic(Look l);
// Takes the taps over its area without acting on them (the boot picture).
Look covering(Look l);
// The art keeps its own size in the element's top-left corner.
Look ownSize(Look l);
// Black text of `px` on white: text fields, spin and combo boxes.
Look fieldLook(int px);

// Builds the elements in order (each drawn over the ones before) and
// registers them with the layouts of their containers.
class ElementSet
{
public:
    ElementSet(QWidget* screen, QSize designSize = {1280, 720},
               Floating floating = Floating::CentreFraction);
    void build(std::span<const Element> elements);

    // The element called `name`; widget() insists that it exists.
    QWidget* widget(const char* name) const;
    QWidget* find(const char* name) const;
    ClickLabel* label(const char* name) const;
    ArtWidget* image(const char* name) const;
    Gauge* gauge(const char* name) const;
    template <class W> W* as(const char* name) const { return qobject_cast<W*>(widget(name)); }
    DesignLayout* layoutOf(QWidget* w) const;
    // Takes a widget made elsewhere into the table of its parent (the screen
    // or a panel built before), drawn under the elements built so far.
    void adopt(const char* name, QWidget* w, const QRect& design, unsigned anchors);

    void setDesignTop(QWidget* w, int top);
    int designTop(QWidget* w) const;

private:
    QWidget* m_screen;
    Floating m_floating;
    QHash<QString, QWidget*> m_widgets;
    QHash<QWidget*, DesignLayout*> m_layouts; // container -> its layout
};

// Gives a control of `kind` (Edit, Button, Check, Radio, Spin, Combo) the
// head unit's look: font and colours from `look`, silver push buttons, and
// indicators and arrows large enough for a finger.
void styleControl(QWidget* w, Kind kind, const Look& look);

// The program's font with a character height in pixels.
QFont headUnitFont(int pixelSize, bool bold = false);
// Loads the shipped fonts once.
void loadHeadUnitFonts();

} // namespace zelk
