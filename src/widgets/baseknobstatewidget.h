#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>
#include <memory>

class KyStateButtons;

namespace Ui {
class BaseKnobStateWidget;
}

// Left-hand panel of the knob inspector: a knob preview with its colour ring and
// title, the ten-colour picker and one button per knob state (a row that runs from
// the right edge). Owns its form and the state buttons.
class BaseKnobStateWidget : public QWidget
{
    Q_OBJECT
public:
    explicit BaseKnobStateWidget(QWidget* parent = nullptr);
    ~BaseKnobStateWidget() override;

    // Selects the colour in the picker without reporting it.
    void setCurrentColor(const QColor& color);
    // Redraws the preview with a ring in `color`.
    void updateIconView(const QColor& color);
    // Adds the buttons (earlier ones stay) and checks the first; none when they do not fit.
    void generateButtonsByStateNames(const QList<QString>& names);
    void clickButton(int id);
    int totalButtonNum() const;
    void showButtons();
    void hideButtons();
    void showColorSelect();
    void hideColorSelect();
    void hideImageText();
    void setCurrentTitle(const QString& title);
    void colorGroupConnection();

signals:
    void colorSelected(const QColor& newColor);
    void iconIndexChanged(int index);

private:
    std::unique_ptr<Ui::BaseKnobStateWidget> ui;
    KyStateButtons* m_stateButtons = nullptr;
};
