#pragma once

#include <QColor>
#include <QWidget>
#include <memory>

namespace Ui {
class BaseKnobIconWidget;
}

// The knob face on the host's deck: the knob ring, a title along its lower edge and
// the veil of a disabled knob. Owns its form.
class BaseKnobIconWidget : public QWidget
{
    Q_OBJECT
public:
    explicit BaseKnobIconWidget(QWidget* parent = nullptr);
    ~BaseKnobIconWidget() override;

    void setKnobValue(int value);
    void setKnobMaximum(int maximum);
    void setKnobMinimum(int minimum);
    void setKnobColor(const QColor& color);
    void setKnobIcon(const QString& path);
    void showIcon();
    void hideIcon();
    void setTitle(const QString& title);
    void showTitle();
    void hideTitle();
    void showDisable();
    void hideDisable();

private:
    std::unique_ptr<Ui::BaseKnobIconWidget> ui;
};
