#include "kydisplayviewtextsetting.h"

#include "kydisplayviewstylesheet.h"
#include "ui_kydisplayviewtextsetting.h"
#include "widgets/base/kykitimages.h"
#include "widgets/base/widgetslog.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QPointer>
#include <QStyledItemDelegate>

KyDisplayViewTextSetting::KyDisplayViewTextSetting(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::KyDisplayViewTextSetting>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    KyKitImages::reportMissing("KyDisplayViewTextSetting", KyDisplayView::kTextSettingImages);

    ui->btnAlginGroup->setId(ui->btnAlignLeft, KyDisplayView::kAlignLeftId);
    ui->btnAlginGroup->setId(ui->btnAlignCenter, KyDisplayView::kAlignCenterId);
    ui->btnAlginGroup->setId(ui->btnAlignRight, KyDisplayView::kAlignRightId);
    // Item heights in the style sheet need a styled delegate.
    ui->comboBoxFontFamily->setItemDelegate(new QStyledItemDelegate(ui->comboBoxFontFamily));
    ui->comboBoxFontSize->setItemDelegate(new QStyledItemDelegate(ui->comboBoxFontSize));
    fillComboBoxes();

    // The controls start in line with the default attribute.
    adjustUi();
    connectControls();
    connect(ui->btnSelectColor, &QPushButton::clicked, this, &KyDisplayViewTextSetting::onSelectColorClicked);
    connect(ui->btnClose, &QPushButton::clicked, this, &KyDisplayViewTextSetting::aboutToClose);
}

KyDisplayViewTextSetting::~KyDisplayViewTextSetting() = default;

void KyDisplayViewTextSetting::fillComboBoxes()
{
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families)
        ui->comboBoxFontFamily->addItem(family, family);
    for (int size = KyDisplayView::kMinComboSize; size <= KyDisplayView::kMaxComboSize; ++size)
        ui->comboBoxFontSize->addItem(QStringLiteral("%1 px").arg(size), size);
}

// The user-edit connections; programmatic updates run with them removed.
void KyDisplayViewTextSetting::connectControls()
{
    connect(ui->btnAlginGroup, &QButtonGroup::idClicked, this, &KyDisplayViewTextSetting::onAlignmentClicked);
    connect(ui->btnBold, &QPushButton::clicked, this, &KyDisplayViewTextSetting::onBoldClicked);
    connect(ui->btnItalic, &QPushButton::clicked, this, &KyDisplayViewTextSetting::onItalicClicked);
    connect(ui->btnUnderLine, &QPushButton::clicked, this, &KyDisplayViewTextSetting::onUnderLineClicked);
    connect(ui->comboBoxFontFamily, &QComboBox::currentIndexChanged, this,
            &KyDisplayViewTextSetting::onFamilyChanged);
    connect(ui->comboBoxFontSize, &QComboBox::currentIndexChanged, this,
            &KyDisplayViewTextSetting::onSizeChanged);
}

void KyDisplayViewTextSetting::disconnectControls()
{
    disconnect(ui->btnAlginGroup, &QButtonGroup::idClicked, this, &KyDisplayViewTextSetting::onAlignmentClicked);
    disconnect(ui->btnBold, &QPushButton::clicked, this, &KyDisplayViewTextSetting::onBoldClicked);
    disconnect(ui->btnItalic, &QPushButton::clicked, this, &KyDisplayViewTextSetting::onItalicClicked);
    disconnect(ui->btnUnderLine, &QPushButton::clicked, this, &KyDisplayViewTextSetting::onUnderLineClicked);
    disconnect(ui->comboBoxFontFamily, &QComboBox::currentIndexChanged, this,
               &KyDisplayViewTextSetting::onFamilyChanged);
    disconnect(ui->comboBoxFontSize, &QComboBox::currentIndexChanged, this,
               &KyDisplayViewTextSetting::onSizeChanged);
}

void KyDisplayViewTextSetting::setViewAttribute(const KyDisplayViewAttribute& attribute)
{
    m_attribute = attribute;
    disconnectControls();
    adjustUi();
    connectControls();
}

KyDisplayViewAttribute KyDisplayViewTextSetting::getViewAttribute() const
{
    return m_attribute;
}

// Brings every control in line with the stored attribute. Callers remove the
// user-edit connections first, so nothing here is taken for a user change.
void KyDisplayViewTextSetting::adjustUi()
{
    ui->btnBold->setChecked(m_attribute.bold);
    ui->btnItalic->setChecked(m_attribute.italic);
    ui->btnUnderLine->setChecked(m_attribute.underLine);

    switch (m_attribute.horAlignment) {
    case Qt::AlignLeft:
        ui->btnAlignLeft->click();
        break;
    case Qt::AlignRight:
        ui->btnAlignRight->click();
        break;
    default:  // 4 and the stored default 132 alike
        ui->btnAlignCenter->click();
        break;
    }
    showColor();

    const int familyIndex = ui->comboBoxFontFamily->findData(m_attribute.family);
    if (familyIndex >= 0)
        ui->comboBoxFontFamily->setCurrentIndex(familyIndex);
    const int sizeIndex = ui->comboBoxFontSize->findData(m_attribute.size);
    if (sizeIndex >= 0)
        ui->comboBoxFontSize->setCurrentIndex(sizeIndex);
}

void KyDisplayViewTextSetting::showColor()
{
    ui->labelColor->setStyleSheet(KyDisplayViewStyleSheet::getColorLabelString(m_attribute.color));
    ui->btnSelectColor->setToolTip(getColorTooltip(m_attribute.color));
}

QString KyDisplayViewTextSetting::getColorTooltip(const QColor& color) const
{
    return QStringLiteral("%1 : %2").arg(tr(KyDisplayView::kColorTooltipKey), color.name().toUpper());
}

void KyDisplayViewTextSetting::filterNotSupportFont(QList<QString>& families) const
{
    for (const char* name : KyDisplayView::kUnsupportedFonts)
        families.removeOne(QLatin1String(name));
}

void KyDisplayViewTextSetting::reject()
{
    // Escape must not close the dialog inside its menu; the owner hides the menu.
    emit aboutToClose();
}

void KyDisplayViewTextSetting::onAlignmentClicked(int id)
{
    switch (id) {
    case KyDisplayView::kAlignLeftId:
        m_attribute.horAlignment = Qt::AlignLeft;
        break;
    case KyDisplayView::kAlignRightId:
        m_attribute.horAlignment = Qt::AlignRight;
        break;
    default:
        m_attribute.horAlignment = Qt::AlignHCenter;
        break;
    }
    emit viewAttributeChanged(m_attribute);
}

void KyDisplayViewTextSetting::onBoldClicked(bool checked)
{
    m_attribute.bold = checked;
    emit viewAttributeChanged(m_attribute);
}

void KyDisplayViewTextSetting::onItalicClicked(bool checked)
{
    m_attribute.italic = checked;
    emit viewAttributeChanged(m_attribute);
}

void KyDisplayViewTextSetting::onUnderLineClicked(bool checked)
{
    m_attribute.underLine = checked;
    emit viewAttributeChanged(m_attribute);
}

void KyDisplayViewTextSetting::onFamilyChanged(int index)
{
    if (index < 0)
        return;
    m_attribute.family = ui->comboBoxFontFamily->itemData(index).toString();
    emit viewAttributeChanged(m_attribute);
}

void KyDisplayViewTextSetting::onSizeChanged(int index)
{
    if (index < 0)
        return;
    m_attribute.size = ui->comboBoxFontSize->itemData(index).toInt();
    emit viewAttributeChanged(m_attribute);
}

void KyDisplayViewTextSetting::onSelectColorClicked()
{
    // Heap-allocated and guarded: the pop-up may be deleted while the dialog runs.
    QPointer<KyDisplayViewTextSetting> self(this);
    QPointer<QColorDialog> dialog = new QColorDialog(m_attribute.color, this);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    dialog->move(ui->btnClose->mapToGlobal(QPoint(0, 0)));
    const int result = dialog->exec();
    if (!self)
        return;
    const QColor chosen = dialog ? dialog->selectedColor() : QColor();
    delete dialog;

    if (result == QDialog::Accepted && chosen.isValid()) {
        m_attribute.color = chosen;
        showColor();
        emit viewAttributeChanged(m_attribute);
    }
    emit aboutToShow();
}
