#pragma once

#include <QColor>
#include <QWidget>
#include <memory>

namespace Ui {
class BaseKnob;
}

// The knob ring: an arc from the lower left that sweeps clockwise through 270 degrees
// as the value goes from the minimum to the maximum, under the knob skin, with the
// value as text or an icon in the middle. Owns its form.
class BaseKnob : public QWidget
{
    Q_OBJECT
public:
    explicit BaseKnob(QWidget* parent = nullptr);
    ~BaseKnob() override;

    void setKnobValue(int value);
    void setKnobColor(const QColor& color);
    void setMinValue(int minimum);
    void setMaxValue(int maximum);
    void setKnobIcon(const QString& path);
    void showIcon();
    void hideIcon();
    // The sweep in whole degrees; 0 when the range is empty.
    int getCurrentArcLength() const;

    int value() const { return m_value; }
    QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double sweep() const;

    std::unique_ptr<Ui::BaseKnob> ui;
    qint32 m_value = 0;
    QColor m_color;
    qint32 m_maximum;
    qint32 m_minimum = 0;
    qint32 m_arcWidth;
};
