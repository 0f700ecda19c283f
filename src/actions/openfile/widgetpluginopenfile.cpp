#include "widgetpluginopenfile.h"

#include "actions/common/actionslog.h"
#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/iconbuilderconstants.h"
#include "iconbuilder/tovdragdropstatic.h"
#include "ui_widgetpluginopenfile.h"
#include "widgets/iconbuilder.h"
#include "widgets/kydisplayviewlabelhandler.h"
#include "widgets/kydisplayviewmenu.h"
#include "widgets/kydisplayviewpopup.h"
#include "widgets/kydisplayviewtextsetting.h"
#include "widgets/propertykitconstants.h"
#include "widgets/tovmixerhelper.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMovie>
#include <QSignalBlocker>
#include <QStandardPaths>

namespace {
const QSize kPreviewSize(75, 54);
const QSize kKeySize(KyKeyFace::kWidth, KyKeyFace::kHeight);
const QString kPreviewStyle = QStringLiteral("border:0px;background-color:#00000000;");
}

WidgetPluginOpenFile::WidgetPluginOpenFile(QWidget* parent)
    : PropertyLostDelegates(parent)
    , ui(std::make_unique<Ui::WidgetPluginOpenFile>())
    , movie(std::make_unique<QMovie>())
{
    ui->setupUi(this);
    ui->txtEditPluginTitle->setAttribute(Qt::WA_MacShowFocusRect, false);
    ui->txtEditPluginFilePath->setAttribute(Qt::WA_MacShowFocusRect, false);
    connect(ui->txtEditPluginFilePath, &QLineEdit::textChanged, this, [this](const QString& text) {
        filePath = text;
        emit fileDidChange(text);
    });
    connect(ui->txtEditPluginTitle, &QLineEdit::textEdited, this, [this](const QString& text) {
        ui->lblPluginImageText->setText(text);
        emit titleDidChange(text);
    });
    connect(ui->btnPluginOpenFile, &QPushButton::clicked, this, &WidgetPluginOpenFile::selectFile);
    initDisplayViewSetting();
}

WidgetPluginOpenFile::~WidgetPluginOpenFile()
{
    movie->disconnect();
    movie->stop();
    if (displayViewMenu && !displayViewMenu->parent())
        delete displayViewMenu;
}

void WidgetPluginOpenFile::initDisplayViewSetting()
{
    if (textSetting || displayViewMenu)
        return;
    const KyDisplayViewPopup popup = KyDisplayViewPopup::attach(ui->btnTextEdit, this);
    textSetting = popup.textSetting;
    displayViewMenu = popup.menu;
    connect(textSetting, &KyDisplayViewTextSetting::viewAttributeChanged, this,
            [this](const KyDisplayViewAttribute& attribute) {
                viewAttribute = attribute;
                emit viewAttributeChanged(viewAttribute);
            });
}

void WidgetPluginOpenFile::setPluginTitle(const QString& title)
{
    ui->txtEditPluginTitle->setText(title);
    ui->lblPluginImageText->setText(title);
}

void WidgetPluginOpenFile::setPluginIconPath(const QString& path)
{
    imagePath = path;
    showIcon(path);
}

void WidgetPluginOpenFile::setFilePath(const QString& path)
{
    filePath = path;
    const QSignalBlocker quiet(ui->txtEditPluginFilePath);
    ui->txtEditPluginFilePath->setText(path);
}

void WidgetPluginOpenFile::setActionModeState()
{
    ui->btnPluginImageEdit->hide();
    ui->btnTextEdit->hide();
    ui->txtEditPluginTitle->setReadOnly(true);
}

void WidgetPluginOpenFile::setViewAttribute(const KyDisplayViewAttribute& attribute)
{
    viewAttribute = attribute;
    if (viewAttribute.family.isEmpty())
        viewAttribute.family = font().family();
    textSetting->setViewAttribute(viewAttribute);
}

void WidgetPluginOpenFile::adjustView(const KyDisplayViewAttribute& attribute)
{
    KyDisplayViewLabelHandler::modifyPropertyWidgetLabel(ui->lblPluginImageText, KyPropertyKit::kPreviewAreaHeight,
                                                         attribute);
}

void WidgetPluginOpenFile::removePictureFile(QString path)
{
    TovDragDropStatic::removePictureFile(path.isEmpty() ? imagePath : path);
}

// Stills are fitted to the key and scaled into the preview; a GIF ("gif" exactly)
// plays fitted into the preview.
void WidgetPluginOpenFile::showIcon(const QString& path)
{
    if (QFileInfo::exists(path)) {
        if (QFileInfo(path).suffix() != QLatin1String(IconBuilderConst::kGifSuffix)) {
            showStill(path);
        } else {
            movie->stop();
            movie->setCacheMode(QMovie::CacheNone);
            movie->setFileName(path);
            movie->setScaledSize(TovMixerHelper::fitGifSize(QImageReader(path).size(), kPreviewSize));
            ui->imgPluginImage->setMovie(movie.get());
            movie->start();
            ui->imgPluginImage->setScaledContents(false);
        }
    }
    ui->imgPluginImage->setStyleSheet(kPreviewStyle);
}

void WidgetPluginOpenFile::showStill(const QString& path)
{
    movie->stop();
    const QImage fitted = TovMixerHelper::getProcessPluginIcon(QImage(path), kKeySize);
    ui->imgPluginImage->setPixmap(QPixmap::fromImage(fitted));
    ui->imgPluginImage->setScaledContents(true);
    ui->imgPluginImage->setStyleSheet(kPreviewStyle);
}

void WidgetPluginOpenFile::replaceIcon(const QString& path)
{
    removePictureFile(imagePath);
    imagePath = path;
    emit imageDidChange(path);
}

// The chosen path is kept as it is: a link or an application entry is not resolved.
QString WidgetPluginOpenFile::chooseTarget() const
{
    const QFileInfo current(ui->txtEditPluginFilePath->text());
    const QString start = current.exists() ? current.absolutePath()
                                           : QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    QFileDialog dialog(nullptr, QString(), start);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A name that names nothing is refused by the dialog itself ("File not found").
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt's own dialog: a portal's would hand back a path of its document store.
    dialog.setOptions(QFileDialog::DontResolveSymlinks | QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QString chosen = dialog.selectedFiles().value(0);
    if (!QFileInfo::exists(chosen)) {
        qCWarning(lcActions) << "[WidgetPluginOpenFile] nothing at" << chosen << "- not taken";
        return {};
    }
    return chosen;
}

// The target's system icon, fitted to the key by the icon builder without showing it.
// The intermediate picture of the system icon is deleted again.
QString WidgetPluginOpenFile::keyImageFromFile(const QString& target)
{
    const QString picture = TovDragDropStatic::saveFilenameIcon(target);
    DialogIconBuilder builder;
    builder.setImagePath(picture);
    builder.onBuilderListChanged(IconBuilderConst::kModeFit);
    QMetaObject::invokeMethod(&builder, "on_btnOk_clicked", Qt::DirectConnection);
    TovDragDropStatic::removePictureFile(picture);
    return builder.getImagePath();
}

void WidgetPluginOpenFile::selectFile()
{
    const QString target = chooseTarget();
    if (target.isEmpty())
        return;
    emit fileDidChange(target);
    setFilePath(target);
    const QString keyImage = keyImageFromFile(target);
    qCDebug(lcActions) << "[WidgetPluginOpenFile][selectFile]" << target << keyImage;
    if (keyImage.isEmpty() || !QFileInfo::exists(keyImage))
        return;
    showStill(keyImage);
    replaceIcon(keyImage);
}

void WidgetPluginOpenFile::on_btnPluginImageEdit_clicked()
{
    const QString keyImage = IconBuilder().editIcon(
        ui->btnPluginImageEdit, IconBuilder::requestFor(this, tr("LAB_FILTER_IMAGE_SELECT"), tr("LAB_FILTER_IMAGE_FILES")));
    if (keyImage.isEmpty())
        return;
    showIcon(keyImage);
    replaceIcon(keyImage);
}
