#pragma once

#include "kydisplayviewattribute.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <memory>

namespace Ui {
class KyDisplayViewTextSetting;
}

// Pop-up editor of a key title's text attributes: family, size, style buttons,
// alignment and colour. Emits the whole attribute after every user change and never
// after setViewAttribute. It never closes itself: its owner hides it on aboutToClose.
class KyDisplayViewTextSetting : public QDialog
{
    Q_OBJECT
public:
    explicit KyDisplayViewTextSetting(QWidget* parent);
    ~KyDisplayViewTextSetting() override;

    void setViewAttribute(const KyDisplayViewAttribute& attribute);
    KyDisplayViewAttribute getViewAttribute() const;
    QString getColorTooltip(const QColor& color) const;
    void filterNotSupportFont(QList<QString>& families) const;

    void reject() override;

signals:
    void viewAttributeChanged(const KyDisplayViewAttribute& attribute);
    void aboutToClose();
    void aboutToShow();  // the colour dialog closed the pop-up; the owner opens it again

private:
    void fillComboBoxes();
    void connectControls();
    void disconnectControls();
    void adjustUi();
    void showColor();

    void onAlignmentClicked(int id);
    void onBoldClicked(bool checked);
    void onItalicClicked(bool checked);
    void onUnderLineClicked(bool checked);
    void onFamilyChanged(int index);
    void onSizeChanged(int index);
    void onSelectColorClicked();

    std::unique_ptr<Ui::KyDisplayViewTextSetting> ui;
    KyDisplayViewAttribute m_attribute;
};
