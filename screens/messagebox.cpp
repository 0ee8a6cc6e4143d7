#include "screens/messagebox.h"

#include "screens/layout.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>

#include <cmath>

namespace zelk {

namespace {

// The field is the dialog art of the update panel at its design size; a
// longer text makes it taller. Its top (the symbol over the accent line) and
// its bottom keep their size, and the plain middle is stretched.
constexpr QSize kField{537, 353};
constexpr int kArtTop = 130;
constexpr int kArtBottom = 60;
constexpr int kTextTop = 124;
constexpr int kTextSide = 24;
constexpr int kTextPx = 27;
constexpr QSize kPlate{208, 56};
constexpr int kPlateBottom = 28;
constexpr int kPlateGap = 16;
// The box stays this far inside the screen it stands on.
constexpr int kScreenMargin = 16;

} // namespace

HeadUnitMessage::HeadUnitMessage(const QString& text, QWidget* over)
    : QDialog(over, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_text(text),
      m_over(over), m_field(new QSvgRenderer(QStringLiteral(":/art/dialog_plain.svg"), this))
{
    loadHeadUnitFonts();
    setWindowTitle(QStringLiteral("ZelkRadio"));
    setModal(true);
    setAttribute(Qt::WA_TranslucentBackground);

    const int textWidth = kField.width() - 2 * kTextSide;
    layOutText(textWidth);
    const int textHeight = static_cast<int>(std::ceil(m_layout.boundingRect().height()));
    int height = std::max(kField.height(),
                          kTextTop + textHeight + kPlateGap + kPlate.height() + kPlateBottom);
    if (QWidget* screen = over ? over->window() : nullptr)
        height = std::min(height, std::max(kField.height(), screen->height() - 2 * kScreenMargin));
    setFixedSize(kField.width(), height);

    // The text stands in the middle of the room above the plate.
    const int plateTop = height - kPlateBottom - kPlate.height();
    const int room = plateTop - kPlateGap - kTextTop;
    m_textRect = QRect(kTextSide, kTextTop + std::max(0, (room - textHeight) / 2), textWidth,
                       std::min(textHeight, room));

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    styleControl(m_ok, Kind::Button, textLook(33, Qt::AlignCenter, Qt::black));
    m_ok->setGeometry(QRect(QPoint((width() - kPlate.width()) / 2, plateTop), kPlate));
    m_ok->setCursor(Qt::PointingHandCursor);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

void HeadUnitMessage::run(const QString& text, QWidget* over)
{
    HeadUnitMessage box(text, over);
    box.exec();
}

void HeadUnitMessage::layOutText(int width)
{
    // Laid out by hand rather than by a label: a path or an address without
    // blanks breaks anywhere instead of running out of the box, and the text
    // is never read as markup.
    QString plain = m_text;
    plain.replace(QLatin1Char('\n'), QChar::LineSeparator);
    m_layout.setText(plain);
    m_layout.setFont(headUnitFont(kTextPx));
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_layout.setTextOption(option);
    m_layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    m_layout.endLayout();
}

void HeadUnitMessage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = width();
    const int middle = height() - kArtTop - kArtBottom;
    const int artMiddle = kField.height() - kArtTop - kArtBottom;
    const std::pair<QRectF, QRectF> slices[] = {
        {QRectF(0, 0, w, kArtTop), QRectF(0, 0, kField.width(), kArtTop)},
        {QRectF(0, kArtTop, w, middle), QRectF(0, kArtTop, kField.width(), artMiddle)},
        {QRectF(0, height() - kArtBottom, w, kArtBottom),
         QRectF(0, kField.height() - kArtBottom, kField.width(), kArtBottom)},
    };
    for (const auto& [target, source] : slices) {
        m_field->setViewBox(source);
        m_field->render(&p, target);
    }
    p.setPen(Qt::white);
    p.setClipRect(m_textRect);
    m_layout.draw(&p, m_textRect.topLeft());
}

void HeadUnitMessage::showEvent(QShowEvent* e)
{
    centre();
    QDialog::showEvent(e);
}

void HeadUnitMessage::centre()
{
    QRect area;
    if (m_over && m_over->window()->isVisible())
        area = m_over->window()->geometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->geometry();
    QRect box(QPoint(0, 0), size());
    box.moveCenter(area.center());
    move(box.topLeft());
}

} // namespace zelk
