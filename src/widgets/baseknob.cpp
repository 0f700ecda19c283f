#include "baseknob.h"

#include "propertykitconstants.h"
#include "ui_baseknob.h"
#include "widgets/base/imagefile.h"
#include "widgets/base/widgetslog.h"

#include <QPainter>
#include <QStyleOption>
#include <cmath>

using namespace KyPropertyKit;

BaseKnob::BaseKnob(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::BaseKnob>())
    , m_color(QColor::fromRgb(kKnobDefaultColor))
    , m_maximum(kKnobDefaultMaximum)
    , m_arcWidth(kKnobDefaultArcWidth)
{
    ui->setupUi(this);
}

BaseKnob::~BaseKnob() = default;

void BaseKnob::setKnobValue(int value)
{
    m_value = value;
    ui->lblVolume->setText(QString::number(value));
    update();
}

void BaseKnob::setKnobColor(const QColor& color)
{
    m_color = color;
    update();
}

void BaseKnob::setMinValue(int minimum)
{
    m_minimum = minimum;
    update();
}

void BaseKnob::setMaxValue(int maximum)
{
    m_maximum = maximum;
    update();
}

void BaseKnob::setKnobIcon(const QString& path)
{
    QString why;
    const QImage image = ImageFile::load(path, ui->lblIcon->size(), &why);
    if (image.isNull() && !path.isEmpty())
        qCWarning(lcWidgets) << "[BaseKnob][setKnobIcon] unreadable image" << path << why;
    ui->lblIcon->setPixmap(QPixmap::fromImage(image));
    update();
}

void BaseKnob::showIcon()
{
    ui->lblIcon->raise();
    ui->lblIcon->show();
    ui->lblVolume->hide();
}

void BaseKnob::hideIcon()
{
    ui->lblVolume->raise();
    ui->lblVolume->show();
    ui->lblIcon->hide();
}

// In double precision; the range is a difference of two 32-bit values.
double BaseKnob::sweep() const
{
    if (m_maximum == m_minimum)
        return 0;
    return (double(m_value) - m_minimum) * kKnobSweepDegrees / (double(m_maximum) - m_minimum);
}

int BaseKnob::getCurrentArcLength() const
{
    return int(std::floor(sweep()));
}

void BaseKnob::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);  // the style sheet's fill

    painter.save();
    painter.translate(width() / 2, height() / 2);
    const int radius = width() / 2 - m_arcWidth;
    QPen pen = painter.pen();
    pen.setWidth(m_arcWidth);
    pen.setCapStyle(Qt::FlatCap);
    pen.setColor(m_color);
    painter.setPen(pen);
    const int span = getCurrentArcLength();
    if (span != 0)
        painter.drawArc(QRect(-radius, -radius, 2 * radius, 2 * radius), kKnobStartAngle16, -span * 16);
    painter.restore();
}
