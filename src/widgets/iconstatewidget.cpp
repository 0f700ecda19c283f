#include "iconstatewidget.h"

#include "gifanimation.h"
#include "iconbuilder.h"
#include "keyfaceconstants.h"
#include "kydisplayviewlabelhandler.h"
#include "kystatebuttons.h"
#include "propertykitconstants.h"
#include "tovmixerhelper.h"
#include "ui_iconstatewidget.h"
#include "widgets/base/imagefile.h"
#include "widgets/base/kykitimages.h"
#include "widgets/base/widgetslog.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QButtonGroup>
#include <QFileInfo>
#include <QImageReader>
#include <QPushButton>

using namespace KyPropertyKit;

IconStateWidget::IconStateWidget(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::IconStateWidget>())
    , m_gif(new GifAnimation(this))
    , m_stateButtons(new KyStateButtons(this))
{
    ui->setupUi(this);
    connect(m_gif, &GifAnimation::frameChanged, ui->lblIcon, &QLabel::setPixmap);
    KyKitImages::reportMissing("IconStateWidget", kIconStateImages);
    connect(ui->btnSelect, &QPushButton::clicked, this, &IconStateWidget::onSelectIconFile);
}

IconStateWidget::~IconStateWidget() = default;

void IconStateWidget::setIconChangeable(bool changeable)
{
    ui->btnSelect->setVisible(changeable);
}

void IconStateWidget::hideButtons()
{
    m_stateButtons->setButtonsVisible(false);
}

void IconStateWidget::hideImageText()
{
    ui->lblImageText->hide();
}

void IconStateWidget::showImageText()
{
    ui->lblImageText->show();
}

void IconStateWidget::hideTextEditButton()
{
    ui->btnTextEdit->hide();
}

void IconStateWidget::showTextEditButton()
{
    ui->btnTextEdit->show();
}

void IconStateWidget::setIconGeometry(const QRect& geometry)
{
    ui->lblIcon->setGeometry(geometry);
}

// The preview lays out no more of a title than the key face does.
void IconStateWidget::setCurrentTitle(const QString& title)
{
    if (title.size() > KyKeyFace::kMaxTitleChars)
        qCWarning(lcWidgets).nospace() << "[IconStateWidget][setCurrentTitle] a title of " << title.size()
                                       << " characters shows its first " << KyKeyFace::kMaxTitleChars;
    ui->lblImageText->setText(title.left(KyKeyFace::kMaxTitleChars));
}

// A GIF keeps its aspect ratio inside the preview label; equal ratios fill it.
QSize IconStateWidget::gifTargetSize(const QByteArray& gif) const
{
    QBuffer buffer;
    buffer.setData(gif);
    buffer.open(QIODevice::ReadOnly);
    return TovMixerHelper::fitGifSize(QImageReader(&buffer).size(), ui->lblIcon->size());
}

void IconStateWidget::updateCurrentIcon(const QString& path)
{
    QString refusal;
    const QByteArray bytes = ImageFile::read(path, &refusal);
    if (!refusal.isEmpty()) {
        qCWarning(lcWidgets) << "[IconStateWidget][updateCurrentIcon][fileExists]" << false << path << refusal;
        return;
    }
    m_gif->stop();
    if (QFileInfo(path).suffix().toLower().contains(QLatin1String(KyKeyFace::kGifSuffix))) {
        ui->lblIcon->setScaledContents(false);  // centred in the label
        QString error;
        if (m_gif->open(bytes, gifTargetSize(bytes), &error))
            m_gif->start();
        else
            qCWarning(lcWidgets) << "[IconStateWidget][updateCurrentIcon] unreadable GIF" << path << error;
        return;
    }
    const QImage image = ImageFile::decode(bytes, ui->lblIcon->size(), &refusal);
    if (image.isNull())
        qCWarning(lcWidgets) << "[IconStateWidget][updateCurrentIcon] unreadable image" << path << refusal;
    const QPixmap pixmap = QPixmap::fromImage(image);
    ui->lblIcon->setPixmap(pixmap.scaled(ui->lblIcon->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    ui->lblIcon->setScaledContents(true);
}

void IconStateWidget::clickButton(int id)
{
    m_stateButtons->clickButton(id);
}

void IconStateWidget::generateButtonsByStateNames(const QList<QString>& names, bool fromLeft)
{
    disconnect(m_stateButtons, &QButtonGroup::idClicked, nullptr, nullptr);
    m_stateButtons->clear();
    if (!m_stateButtons->generate(ui->widgetIcon, names, fromLeft, kStateButtonStyle))
        return;
    clickButton(0);  // before the connection: choosing the first state is no user edit
    connect(m_stateButtons, &QButtonGroup::idClicked, this, &IconStateWidget::iconIndexChanged);
}

void IconStateWidget::setButtonTooltip(int id, const QString& tooltip)
{
    if (QAbstractButton* button = m_stateButtons->button(id))
        button->setToolTip(tooltip);
}

int IconStateWidget::totalButtonNum() const
{
    return m_stateButtons->totalButtonNum();
}

void IconStateWidget::adjustView(const KyDisplayViewAttribute& attribute)
{
    KyDisplayViewLabelHandler::modifyPropertyWidgetLabel(ui->lblImageText, kPreviewAreaHeight, attribute);
}

void IconStateWidget::initPushButtonMenu(const std::function<void(QPushButton*)>& init)
{
    if (init)
        init(ui->btnTextEdit);
}

void IconStateWidget::onSelectIconFile()
{
    const QString imagePath = IconBuilder().editIcon(
        ui->btnSelect, IconBuilder::requestFor(this, tr("LAB_FILTER_IMAGE_SELECT"), tr("LAB_FILTER_IMAGE_FILES")));
    if (imagePath.isEmpty())
        return;
    updateCurrentIcon(imagePath);
    const int checked = m_stateButtons->checkedId();
    emit iconPathChanged(checked < 0 ? 0 : checked, imagePath);
}
