#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>
#include <memory>

namespace Ui {
class BaseKnobPropertyWidget;
}

// The knob inspector: title editor, knob preview with its colour ring, the ten-colour
// picker, state buttons and a settings button (hidden until a knob action shows it).
// Holds one icon and one title per state and reports user edits through its signals;
// programmatic updates never echo as edits. Owns its form.
class BaseKnobPropertyWidget : public QWidget
{
    Q_OBJECT
public:
    explicit BaseKnobPropertyWidget(QWidget* parent = nullptr);
    ~BaseKnobPropertyWidget() override;

    void setKnobIconList(const QList<QString>& icons);
    void setIcon(const QString& path);
    void setKnobTitleList(const QList<QString>& titles);
    void updateCurrentTitle();
    // Stores the colour, selects it in the picker and draws the preview ring in it.
    void setKnobColor(const QColor& color);
    void showKnobColor();
    void showKnobColorTransparent();
    void showButtons();
    void hideButtons();
    void showColorSelect();
    void hideColorSelect();
    void generateButtonsByStateNames(const QList<QString>& names);
    void setCurrentId(int id);
    QString getCurrentIcon() const;
    void lineEditConnect();
    void lineEditDisconnect();

    QColor knobColor() const { return m_knobColor; }
    int currentIndex() const { return m_currentIndex; }
    QList<QString> knobTitleList() const { return m_titleList; }

signals:
    void settingButtonClicked();
    void stateIndexChanged(int index);
    void knobColorSelected(const QColor& newColor);
    void knobTitleChanged(int index, const QString& title);

public slots:
    void onTextChanged(const QString& text);
    void onIconIndexChanged(int index);

private:
    std::unique_ptr<Ui::BaseKnobPropertyWidget> ui;
    QList<QString> m_iconList;
    QList<QString> m_titleList;
    QColor m_knobColor;
    qint32 m_currentIndex = 0;
};
