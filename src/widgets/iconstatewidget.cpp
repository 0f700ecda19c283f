#include "iconstatewidget.h"

#include "iconbuilder.h"
#include "iconbuilder/iconbuilderconstants.h"
#include "iconbuilder/iconfilechooser.h"
#include "imagefile.h"
#include "kydisplayviewlabelhandler.h"
#include "kykitimages.h"
#include "propertykitconstants.h"
#include "ui_iconstatewidget.h"
#include "widgetslog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFileInfo>
#include <QImageReader>
#include <QMovie>
#include <QPushButton>
#include <QStandardPaths>

using namespace KyPropertyKit;

IconStateWidget::IconStateWidget(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::IconStateWidget>())
    , m_movie(std::make_unique<QMovie>())
    , m_stateButtons(new QButtonGroup(this))
{
    ui->setupUi(this);
    KyKitImages::reportMissing("IconStateWidget", kIconStateImages);
    m_stateButtons->setExclusive(true);
    connect(ui->btnSelect, &QPushButton::clicked, this, &IconStateWidget::onSelectIconFile);
}

IconStateWidget::~IconStateWidget()
{
    m_movie->stop();
}

void IconStateWidget::setIconChangeable(bool changeable)
{
    ui->btnSelect->setVisible(changeable);
}

void IconStateWidget::hideButtons()
{
    const QList<QAbstractButton*> buttons = m_stateButtons->buttons();
    for (QAbstractButton* button : buttons)
        button->hide();
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

void IconStateWidget::setCurrentTitle(const QString& title)
{
    ui->lblImageText->setText(title);
}

// A GIF keeps its aspect ratio inside the preview label; equal ratios fill it.
QSize IconStateWidget::gifTargetSize(const QString& path) const
{
    const QSize label = ui->lblIcon->size();
    const QSize image = QImageReader(path).size();
    if (image.isEmpty() || label.isEmpty())
        return label;
    const float imageRatio = float(image.width()) / float(image.height());
    const float labelRatio = float(label.width()) / float(label.height());
    if (imageRatio > labelRatio)
        return QSize(label.width(), qMax(1, int(qint64(image.height()) * label.width() / image.width())));
    if (labelRatio > imageRatio)
        return QSize(qMax(1, int(qint64(image.width()) * label.height() / image.height())), label.height());
    return label;
}

void IconStateWidget::updateCurrentIcon(const QString& path)
{
    const QString refusal = ImageFile::refusal(path);
    if (!refusal.isEmpty()) {
        qCWarning(lcWidgets) << "[IconStateWidget][updateCurrentIcon][fileExists]" << false << path << refusal;
        return;
    }
    if (m_movie->state() == QMovie::Running)
        m_movie->stop();
    if (QFileInfo(path).suffix().toLower().contains(QLatin1String(KyKeyFace::kGifSuffix))) {
        m_movie->setCacheMode(QMovie::CacheNone);
        m_movie->setFileName(path);
        m_movie->setScaledSize(gifTargetSize(path));
        ui->lblIcon->setMovie(m_movie.get());
        m_movie->start();
        ui->lblIcon->setScaledContents(false);  // centred in the label
        return;
    }
    const QPixmap pixmap(path);
    ui->lblIcon->setPixmap(pixmap.scaled(ui->lblIcon->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    ui->lblIcon->setScaledContents(true);
}

void IconStateWidget::clickButton(int id)
{
    if (QAbstractButton* button = m_stateButtons->button(id))
        button->click();
}

void IconStateWidget::generateButtonsByStateNames(const QList<QString>& names, bool fromLeft)
{
    disconnect(m_stateButtons, &QButtonGroup::idClicked, nullptr, nullptr);
    const QList<QAbstractButton*> old = m_stateButtons->buttons();
    for (QAbstractButton* button : old) {
        m_stateButtons->removeButton(button);
        button->hide();
        button->deleteLater();
    }
    const int count = int(names.size());
    const int width = ui->widgetIcon->width();
    if (width < kStateButtonWidth * count) {
        qCWarning(lcWidgets) << "[IconStateWidget][generateButtonsByStateNames] no room for" << count << "states";
        return;
    }
    const int margin = (width - kStateButtonWidth * count) / 2;
    for (int i = 0; i < count; ++i) {
        auto* button = new QPushButton(ui->widgetIcon);
        const int x = fromLeft ? margin + kStateButtonWidth * i
                               : (width - margin - kStateButtonWidth) - kStateButtonWidth * i;
        button->setGeometry(x, kStateButtonY, kStateButtonWidth, kStateButtonHeight);
        button->setStyleSheet(QLatin1String(kStateButtonStyle));
        button->setCheckable(true);
        button->setToolTip(names.at(i));
        button->show();
        m_stateButtons->addButton(button, i);
    }
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
    return int(m_stateButtons->buttons().size());
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
    IconBuilder builder;
    const int choice = builder.showIconEditMenu(ui->btnSelect->mapFromGlobal(QPoint(0, 0)));
    if (choice == IconBuilderConst::kMenuDismissed)
        return;
    if (choice == IconBuilderConst::kMenuIconBuilder) {
        emit buildIcon();
        return;
    }
    pickLocalFile();
}

void IconStateWidget::pickLocalFile()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    emit iconFolderChanging(folder);
    const QString file = IconFileChooser::getOpenFileName(
        this, tr("LAB_FILTER_IMAGE_SELECT"), folder, tr("LAB_FILTER_IMAGE_FILES") + QLatin1String(IconBuilderConst::kImageFilterSuffixes));
    if (file.isEmpty())
        return;
    emit iconFolderChanged(QFileInfo(file).absolutePath());

    const QString imagePath = IconBuilder().getOpenFileName(file);
    qCDebug(lcWidgets) << "[IconStateWidget][onSelectIconFile][imagePath]" << imagePath;
    if (imagePath.isEmpty() || !QFileInfo::exists(imagePath))
        return;
    updateCurrentIcon(imagePath);
    const int checked = m_stateButtons->checkedId();
    emit iconPathChanged(checked < 0 ? 0 : checked, imagePath);
}
