#pragma once

#include <QColor>
#include <QList>
#include <QWidget>
#include <memory>

class QButtonGroup;

namespace Ui {
class SelectColorWidget;
}

// A row of ten colour swatches, one checked at a time (red at first). A click reports
// the swatch's colour; selecting a colour by code reports nothing. Owns its form and
// the button group.
class SelectColorWidget : public QWidget
{
    Q_OBJECT
public:
    static const QList<QColor> m_colorTable;

    explicit SelectColorWidget(QWidget* parent = nullptr);
    ~SelectColorWidget() override;

    // Checks the first swatch of this colour; a colour not in the table changes nothing.
    void selectTargetColor(const QColor& color);

signals:
    void colorSelected(const QColor& color);

public slots:
    void onButtonGroupClicked(int id);

private:
    std::unique_ptr<Ui::SelectColorWidget> ui;
    QButtonGroup* m_group = nullptr;
};
