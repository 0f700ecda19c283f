#include "basepropertywidget.h"

#include "iconstatewidget.h"
#include "kydisplayviewmenu.h"
#include "kydisplayviewpopup.h"
#include "kydisplayviewtextsetting.h"
#include "propertykitconstants.h"
#include "ui_basepropertywidget.h"
#include "widgets/base/widgetslog.h"

#include <QPushButton>

namespace {

// Far more states than any key has; an index past it is a caller's bug, not a state.
constexpr int kMaxStates = 64;

// Writes `value` at `index`, growing the list with empty entries when needed.
bool storeAt(QList<QString>& list, int index, const QString& value)
{
    if (index < 0 || index >= kMaxStates) {
        qCWarning(lcWidgets) << "[BasePropertyWidget] state index out of range" << index;
        return false;
    }
    while (list.size() <= index)
        list.append(QString());
    list[index] = value;
    return true;
}

} // namespace

BasePropertyWidget::BasePropertyWidget(QWidget* parent)
    : PropertyLostDelegates(parent)
    , ui(std::make_unique<Ui::BasePropertyWidget>())
{
    ui->setupUi(this);
    ui->lineEdtPluginTitle->setAttribute(Qt::WA_MacShowFocusRect, false);

    lineEditConnect();
    IconStateWidget* icons = ui->iconStateWidget;
    connect(icons, &IconStateWidget::iconPathChanged, this, &BasePropertyWidget::onIconPathChanged);
    connect(icons, &IconStateWidget::iconIndexChanged, this, &BasePropertyWidget::onIconIndexChanged);
    connect(icons, &IconStateWidget::iconFolderChanging, this, &BasePropertyWidget::iconFolderChanging,
            Qt::DirectConnection);
    connect(icons, &IconStateWidget::iconFolderChanged, this, &BasePropertyWidget::iconFolderChanged);
    connect(icons, &IconStateWidget::buildIcon, this, &BasePropertyWidget::buildIcon);
    icons->hideTextEditButton();
}

BasePropertyWidget::~BasePropertyWidget()
{
    if (m_displayViewMenu && !m_displayViewMenu->parent())
        delete m_displayViewMenu;
}

QLineEdit* BasePropertyWidget::titleEdit() const
{
    return ui->lineEdtPluginTitle;
}

KyDisplayViewTextSetting* BasePropertyWidget::textSetting() const
{
    return m_textSetting;
}

IconStateWidget* BasePropertyWidget::iconStateWidget() const
{
    return ui->iconStateWidget;
}

void BasePropertyWidget::lineEditConnect()
{
    connect(ui->lineEdtPluginTitle, &QLineEdit::textEdited, this, &BasePropertyWidget::onTextChanged,
            Qt::UniqueConnection);
}

void BasePropertyWidget::lineEditDisconnect()
{
    disconnect(ui->lineEdtPluginTitle, &QLineEdit::textEdited, this, &BasePropertyWidget::onTextChanged);
}

void BasePropertyWidget::onTextChanged(const QString& text)
{
    storeAt(m_titleList, m_currentId, text);
    ui->iconStateWidget->setCurrentTitle(text);
    emit pluginTitleChanged(m_currentId, text);
}

void BasePropertyWidget::onIconIndexChanged(int index)
{
    qCDebug(lcWidgets) << "[BasePropertyWidget][onIconIndexChanged][index]" << index;
    m_currentId = index;
    if (index >= 0 && index < m_iconList.size())
        ui->iconStateWidget->updateCurrentIcon(m_iconList.at(index));
    updateCurrentTitle();
}

void BasePropertyWidget::onIconPathChanged(int index, const QString& path)
{
    qCDebug(lcWidgets) << "[BasePropertyWidget][onIconPathChanged][index, path]" << index << path;
    const int state = qMax(0, index);
    storeAt(m_iconList, state, path);
    emit pluginIconChanged(state, path);
}

void BasePropertyWidget::updateCurrentTitle()
{
    lineEditDisconnect();
    if (m_currentId >= 0 && m_currentId < m_titleList.size()) {
        ui->lineEdtPluginTitle->setText(m_titleList.at(m_currentId));
        ui->iconStateWidget->setCurrentTitle(m_titleList.at(m_currentId));
    }
    lineEditConnect();
}

void BasePropertyWidget::setPluginTitleList(const QList<QString>& titles)
{
    m_titleList = titles;
    updateCurrentTitle();
}

void BasePropertyWidget::setPluginIconList(const QList<QString>& icons)
{
    m_iconList = icons;
    if (m_currentId >= 0 && m_currentId < m_iconList.size())
        ui->iconStateWidget->updateCurrentIcon(m_iconList.at(m_currentId));
    if (m_iconList.size() <= 1)
        ui->iconStateWidget->hideButtons();
}

void BasePropertyWidget::setCurrentId(int id)
{
    ui->iconStateWidget->clickButton(id);
}

void BasePropertyWidget::setIconChangeable(bool changeable)
{
    ui->iconStateWidget->setIconChangeable(changeable);
}

void BasePropertyWidget::setIconType(BaseIconProperty::Type type, bool placeIcon)
{
    IconStateWidget* icons = ui->iconStateWidget;
    if (type == BaseIconProperty::Editable) {
        icons->setIconChangeable(true);
        return;
    }
    icons->hideButtons();
    icons->hideImageText();
    if (placeIcon)
        icons->setIconGeometry(KyPropertyKit::kFixedIconGeometry);
    icons->setIconChangeable(false);
}

void BasePropertyWidget::setTextEditable(bool editable)
{
    if (editable)
        ui->iconStateWidget->showTextEditButton();
    else
        ui->iconStateWidget->hideTextEditButton();
}

QString BasePropertyWidget::iconTitle() const
{
    return ui->lineEdtPluginTitle->text();
}

void BasePropertyWidget::generateButtonsByStateNames(const QList<QString>& names, bool fromLeft)
{
    ui->iconStateWidget->generateButtonsByStateNames(names, fromLeft);
}

void BasePropertyWidget::setButtonTooltip(int id, const QString& tooltip)
{
    ui->iconStateWidget->setButtonTooltip(id, tooltip);
}

void BasePropertyWidget::hideButtons()
{
    ui->iconStateWidget->hideButtons();
}

void BasePropertyWidget::showImageText()
{
    ui->iconStateWidget->showImageText();
}

void BasePropertyWidget::setTitleIsReadOnly(bool readOnly)
{
    ui->lineEdtPluginTitle->setReadOnly(readOnly);
    ui->lineEdtPluginTitle->setFocusPolicy(readOnly ? Qt::NoFocus : Qt::ClickFocus);
}

void BasePropertyWidget::setPluginMissingMode()
{
    ui->iconStateWidget->setIconChangeable(false);
    ui->iconStateWidget->hideButtons();
    ui->iconStateWidget->hideImageText();
    ui->lineEdtPluginTitle->hide();
}

void BasePropertyWidget::setViewAttribute(const KyDisplayViewAttribute& attribute)
{
    m_viewAttribute = attribute;
    if (m_viewAttribute.family.isEmpty())
        m_viewAttribute.family = font().family();
    // Once the pop-up exists it shows what was set last; that emits nothing.
    if (m_textSetting)
        m_textSetting->setViewAttribute(m_viewAttribute);
}

void BasePropertyWidget::adjustTextLabel(const KyDisplayViewAttribute& attribute)
{
    ui->iconStateWidget->adjustView(attribute);
}

void BasePropertyWidget::showEvent(QShowEvent* event)
{
    if (!m_displayViewPrepared) {
        ui->iconStateWidget->initPushButtonMenu([this](QPushButton* button) { initDisplayViewSetting(button); });
        if (m_textSetting)
            m_textSetting->setViewAttribute(m_viewAttribute);
        m_displayViewPrepared = true;
    }
    PropertyLostDelegates::showEvent(event);
}

void BasePropertyWidget::initDisplayViewSetting(QPushButton* button)
{
    if (!button || m_textSetting || m_displayViewMenu)
        return;
    const KyDisplayViewPopup popup = KyDisplayViewPopup::attach(button, this);
    m_textSetting = popup.textSetting;
    m_displayViewMenu = popup.menu;
    connect(m_textSetting, &KyDisplayViewTextSetting::viewAttributeChanged, this,
            [this](const KyDisplayViewAttribute& attribute) {
                m_viewAttribute = attribute;
                emit viewAttributeChanged(m_viewAttribute);
            });
}
