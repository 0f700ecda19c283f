#include "baseknobpropertywidget.h"

#include "ui_baseknobpropertywidget.h"
#include "widgets/base/imagefile.h"
#include "widgets/base/widgetslog.h"

BaseKnobPropertyWidget::BaseKnobPropertyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::BaseKnobPropertyWidget>())
{
    ui->setupUi(this);
    ui->lineEdtPluginTitle->setAttribute(Qt::WA_MacShowFocusRect, false);
    connect(ui->btnSetting, &QPushButton::clicked, this, &BaseKnobPropertyWidget::settingButtonClicked);
    lineEditConnect();
    BaseKnobStateWidget* panel = ui->knobStateWidget;
    connect(panel, &BaseKnobStateWidget::colorSelected, this, [this](const QColor& color) {
        m_knobColor = color;
        emit knobColorSelected(color);
    });
    connect(panel, &BaseKnobStateWidget::iconIndexChanged, this, &BaseKnobPropertyWidget::onIconIndexChanged);
    ui->btnSetting->hide();
}

BaseKnobPropertyWidget::~BaseKnobPropertyWidget() = default;

void BaseKnobPropertyWidget::lineEditConnect()
{
    connect(ui->lineEdtPluginTitle, &QLineEdit::textEdited, this, &BaseKnobPropertyWidget::onTextChanged,
            Qt::UniqueConnection);
}

void BaseKnobPropertyWidget::lineEditDisconnect()
{
    disconnect(ui->lineEdtPluginTitle, &QLineEdit::textEdited, this, &BaseKnobPropertyWidget::onTextChanged);
}

// A state without a title yet gets one.
void BaseKnobPropertyWidget::onTextChanged(const QString& text)
{
    ui->knobStateWidget->setCurrentTitle(text);
    if (m_currentIndex >= 0 && m_currentIndex < m_titleList.size())
        m_titleList[m_currentIndex] = text;
    else if (m_currentIndex == m_titleList.size())
        m_titleList.append(text);
    emit knobTitleChanged(m_currentIndex, text);
}

void BaseKnobPropertyWidget::onIconIndexChanged(int index)
{
    m_currentIndex = index;
    if (index >= 0 && index < m_iconList.size() && !m_iconList.at(index).isEmpty()) {
        setIcon(m_iconList.at(index));
        update();
    }
    updateCurrentTitle();
    emit stateIndexChanged(index);
}

void BaseKnobPropertyWidget::setKnobIconList(const QList<QString>& icons)
{
    m_iconList = icons;
    if (m_currentIndex >= 0 && m_currentIndex < m_iconList.size())
        setIcon(m_iconList.at(m_currentIndex));
    update();
    if (m_iconList.size() <= 1)
        ui->knobStateWidget->hideButtons();
}

void BaseKnobPropertyWidget::setIcon(const QString& path)
{
    QString why;
    const QImage image = ImageFile::load(path, ui->lblIcon->size(), &why);
    if (image.isNull() && !path.isEmpty())
        qCWarning(lcWidgets) << "[BaseKnobPropertyWidget][setIcon] unreadable image" << path << why;
    ui->lblIcon->setPixmap(QPixmap::fromImage(image));
}

void BaseKnobPropertyWidget::setKnobTitleList(const QList<QString>& titles)
{
    m_titleList = titles;
    updateCurrentTitle();
}

void BaseKnobPropertyWidget::updateCurrentTitle()
{
    lineEditDisconnect();
    if (m_currentIndex >= 0 && m_currentIndex < m_titleList.size()) {
        ui->lineEdtPluginTitle->setText(m_titleList.at(m_currentIndex));
        ui->knobStateWidget->setCurrentTitle(m_titleList.at(m_currentIndex));
    }
    lineEditConnect();
}

void BaseKnobPropertyWidget::setKnobColor(const QColor& color)
{
    m_knobColor = color;
    ui->knobStateWidget->setCurrentColor(color);
    showKnobColor();
}

void BaseKnobPropertyWidget::showKnobColor() { ui->knobStateWidget->updateIconView(m_knobColor); }
void BaseKnobPropertyWidget::showKnobColorTransparent() { ui->knobStateWidget->updateIconView(Qt::transparent); }
void BaseKnobPropertyWidget::showButtons() { ui->knobStateWidget->showButtons(); }
void BaseKnobPropertyWidget::hideButtons() { ui->knobStateWidget->hideButtons(); }
void BaseKnobPropertyWidget::showColorSelect() { ui->knobStateWidget->showColorSelect(); }
void BaseKnobPropertyWidget::hideColorSelect() { ui->knobStateWidget->hideColorSelect(); }

void BaseKnobPropertyWidget::generateButtonsByStateNames(const QList<QString>& names)
{
    ui->knobStateWidget->generateButtonsByStateNames(names);
}

void BaseKnobPropertyWidget::setCurrentId(int id)
{
    ui->knobStateWidget->clickButton(id);
}

QString BaseKnobPropertyWidget::getCurrentIcon() const
{
    return m_currentIndex >= 0 && m_currentIndex < m_iconList.size() ? m_iconList.at(m_currentIndex) : QString();
}
