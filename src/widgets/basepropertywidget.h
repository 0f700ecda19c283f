#pragma once

#include "kydisplayviewattribute.h"
#include "propertylostdelegates.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <memory>

class IconStateWidget;
class KyDisplayViewMenu;
class KyDisplayViewTextSetting;
class QLineEdit;
class QPushButton;

namespace Ui {
class BasePropertyWidget;
}

namespace BaseIconProperty {
enum Type {
    Editable = 0,  // the user can change the icon
    Fixed = 1,     // no state buttons, no title over the icon, icon not changeable
};
}

// The block every inspector shares: icon panel with state buttons, the key title
// editor and the text-settings pop-up. Holds one icon and one title per state and
// reports user edits through its signals; programmatic updates never echo as edits.
// Owns its form, the text-settings dialog and its parentless pop-up menu.
class BasePropertyWidget : public PropertyLostDelegates
{
    Q_OBJECT
public:
    explicit BasePropertyWidget(QWidget* parent = nullptr);
    ~BasePropertyWidget() override;

    void setPluginTitleList(const QList<QString>& titles);
    void setPluginIconList(const QList<QString>& icons);
    void updateCurrentTitle();
    void setCurrentId(int id);
    void setIconChangeable(bool changeable);
    void setIconType(BaseIconProperty::Type type, bool placeIcon);
    void setTextEditable(bool editable);
    QString iconTitle() const;
    void generateButtonsByStateNames(const QList<QString>& names, bool fromLeft);
    void setButtonTooltip(int id, const QString& tooltip);
    void hideButtons();
    void showImageText();
    void setTitleIsReadOnly(bool readOnly);
    void setPluginMissingMode();
    void setViewAttribute(const KyDisplayViewAttribute& attribute);
    void adjustTextLabel(const KyDisplayViewAttribute& attribute);
    void initDisplayViewSetting(QPushButton* button);
    void lineEditConnect();
    void lineEditDisconnect();

    QList<QString> pluginTitleList() const { return m_titleList; }
    QList<QString> pluginIconList() const { return m_iconList; }
    int currentId() const { return m_currentId; }
    KyDisplayViewAttribute viewAttribute() const { return m_viewAttribute; }
    QLineEdit* titleEdit() const;
    IconStateWidget* iconStateWidget() const;
    KyDisplayViewTextSetting* textSetting() const;

signals:
    void pluginTitleChanged(int index, const QString& text);
    void pluginIconChanged(int index, const QString& path);
    void viewAttributeChanged(const KyDisplayViewAttribute& attribute);

public slots:
    void onTextChanged(const QString& text);
    void onIconIndexChanged(int index);
    void onIconPathChanged(int index, const QString& path);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::BasePropertyWidget> ui;
    QList<QString> m_iconList;
    QList<QString> m_titleList;
    int m_currentId = 0;
    KyDisplayViewAttribute m_viewAttribute;
    KyDisplayViewMenu* m_displayViewMenu = nullptr;  // no parent; deleted here
    QPointer<KyDisplayViewTextSetting> m_textSetting;
    bool m_displayViewPrepared = false;
};
