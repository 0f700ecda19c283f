#include "widgetpluginsystemmultimedia.h"

#include "actions/common/actionslog.h"
#include "multimediaconstants.h"
#include "ui_widgetpluginsystemmultimedia.h"
#include "widgets/iconbuilder.h"
#include "widgets/keyfaceconstants.h"
#include "widgets/kydisplayviewlabelhandler.h"
#include "widgets/kydisplayviewmenu.h"
#include "widgets/kydisplayviewpopup.h"
#include "widgets/kydisplayviewtextsetting.h"
#include "widgets/tovmixerhelper.h"

#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QMovie>
#include <QStyledItemDelegate>

using namespace MultimediaConst;

WidgetPluginSystemMultimedia::WidgetPluginSystemMultimedia(QWidget* parent)
    : PropertyLostDelegates(parent)
    , ui(std::make_unique<Ui::WidgetPluginSystemMultimedia>())
    , m_movie(std::make_unique<QMovie>())
{
    ui->setupUi(this);
    ui->txtEditPluginTitle->setAttribute(Qt::WA_MacShowFocusRect, false);
    // The style sheet's item rules apply only through a styled delegate.
    ui->cbMultimediaList->setItemDelegate(new QStyledItemDelegate(ui->cbMultimediaList));
    for (int i = 0; i < kEntryCount; ++i)
        m_images << QString();
    initDisplayViewSetting();
}

WidgetPluginSystemMultimedia::~WidgetPluginSystemMultimedia()
{
    m_movie->stop();
    if (m_textSettingMenu && !m_textSettingMenu->parent()) {
        m_textSettingMenu->disconnect();
        delete m_textSettingMenu;
    }
}

void WidgetPluginSystemMultimedia::initDisplayViewSetting()
{
    if (m_textSetting)
        return;
    const KyDisplayViewPopup popup = KyDisplayViewPopup::attach(ui->btnTextEdit, this);
    m_textSetting = popup.textSetting;
    m_textSettingMenu = popup.menu;
    connect(m_textSetting, &KyDisplayViewTextSetting::viewAttributeChanged, this,
            [this](const KyDisplayViewAttribute& attribute) {
                m_viewAttribute = attribute;
                emit viewAttributeChanged(attribute);
            });
}

void WidgetPluginSystemMultimedia::setUIParameters(const QJsonObject& parameters)
{
    showWidgetUi(parameters);
}

void WidgetPluginSystemMultimedia::showWidgetUi(const QJsonObject& parameters)
{
    const QJsonObject p = parameters.value(QLatin1String(kUiPayload)).toObject();
    m_title = p.value(QLatin1String(kUiTitleEdit)).toString();
    for (int i = 0; i < kEntryCount; ++i)
        m_images[i] = p.value(QString::fromLatin1(kUiImagePath).arg(i)).toString();
    m_index = p.value(QLatin1String(kUiList)).toInt();
    ui->lblPluginTitle->setText(p.value(QLatin1String(kUiTitleLabel)).toString());
    ui->txtEditPluginTitle->setText(p.value(QLatin1String(kUiTitleEdit)).toString());
    ui->lblPluginSystemMultimedia->setText(p.value(QLatin1String(kUiActionLabel)).toString());
    ui->lblPluginImageText->setText(p.value(QLatin1String(kUiImageText)).toString());
    setDefualImage(m_index);
}

QLabel* WidgetPluginSystemMultimedia::imageLabel(int index) const
{
    return findChild<QLabel*>(QString::fromLatin1(kImageLabel).arg(index));
}

// Shows entry `index` and reports its image; an index outside the list reports an
// empty image and leaves the list where it is.
void WidgetPluginSystemMultimedia::setDefualImage(int index)
{
    qCDebug(lcActions) << "[WidgetPluginSystemMultimedia][setDefualImage]" << index;
    QString path;
    if (index >= 0 && index < kEntryCount) {
        for (int i = 0; i < kEntryCount; ++i)
            imageLabel(i)->setVisible(i == index);
        path = m_images.at(index);
        QLabel* label = imageLabel(index);
        showImage(path, label);
        label->setStyleSheet(QLatin1String(kImageLabelStyle));
        ui->cbMultimediaList->setCurrentIndex(index);
    }
    emit imageDidChange(path);
}

void WidgetPluginSystemMultimedia::showImage(const QString& path, QLabel* label)
{
    if (!QFileInfo::exists(path)) {
        qCDebug(lcActions) << "[WidgetPluginSystemMultimedia] no image file at" << path;
        return;
    }
    if (QFileInfo(path).suffix() != QLatin1String(KyKeyFace::kGifSuffix)) {
        const QImage fitted = TovMixerHelper::getProcessPluginIcon(QImage(path), QSize(KyKeyFace::kWidth, KyKeyFace::kHeight));
        label->setPixmap(QPixmap::fromImage(fitted));
        label->setScaledContents(true);
        return;
    }
    m_movie->stop();
    m_movie->setCacheMode(QMovie::CacheNone);
    m_movie->setFileName(path);
    m_movie->setScaledSize(TovMixerHelper::fitGifSize(QImageReader(path).size(), QSize(kPreviewWidth, kPreviewHeight)));
    label->setMovie(m_movie.get());
    m_movie->start();
    label->setScaledContents(false);
}

void WidgetPluginSystemMultimedia::on_cbMultimediaList_currentIndexChanged(int index)
{
    setDefualImage(index);
    m_index = index;
    emit multimediaDidChange(index);
    saveProfile();
}

void WidgetPluginSystemMultimedia::on_txtEditPluginTitle_textEdited(const QString& text)
{
    ui->lblPluginImageText->setText(text);
    emit titleDidChange(text);
    m_title = text;
    saveProfile();
}

void WidgetPluginSystemMultimedia::on_btnPluginImageEdit_clicked()
{
    const QString path = IconBuilder().editIcon(
        ui->btnPluginImageEdit, IconBuilder::requestFor(this, tr("LAB_FILTER_IMAGE_SELECT"), tr("LAB_FILTER_IMAGE_FILES")));
    if (path.isEmpty())
        return;
    m_lastImagePath = path;
    // The selected entry is the one image label shown; hidden, the inspector changes nothing.
    for (int i = 0; i < kEntryCount; ++i) {
        QLabel* label = imageLabel(i);
        if (!label->isVisible())
            continue;
        showImage(path, label);
        label->setStyleSheet(QLatin1String(kImageLabelStyle));
        emit imageDidChange(path);
        m_images[i] = path;
        saveProfile();
        return;
    }
}

void WidgetPluginSystemMultimedia::saveProfile()
{
    const QJsonObject profile{
        {kTitleList, QJsonArray{m_title}},
        {kIconList, QJsonArray::fromStringList(m_images)},
        {kIndex, m_index},
    };
    qCDebug(lcActions) << "PluginSystemMultimedia saveProfile:" << profile;
    emit callbackToSaveProfile(profile);
}

void WidgetPluginSystemMultimedia::setActionModeState()
{
    ui->btnPluginImageEdit->hide();
    ui->btnTextEdit->hide();
    ui->txtEditPluginTitle->setReadOnly(true);
}

void WidgetPluginSystemMultimedia::setViewAttribute(const KyDisplayViewAttribute& attribute)
{
    m_viewAttribute = attribute;
    if (m_viewAttribute.family.isEmpty())
        m_viewAttribute.family = font().family();
    m_textSetting->setViewAttribute(m_viewAttribute);
}

void WidgetPluginSystemMultimedia::adjustView(const KyDisplayViewAttribute& attribute)
{
    KyDisplayViewLabelHandler::modifyPropertyWidgetLabel(ui->lblPluginImageText, kPreviewAreaHeight, attribute);
}

void WidgetPluginSystemMultimedia::setFunctionIndex(int index)
{
    disconnect(ui->cbMultimediaList, SIGNAL(currentIndexChanged(int)), this,
               SLOT(on_cbMultimediaList_currentIndexChanged(int)));
    ui->cbMultimediaList->setCurrentIndex(index);
}
