#include "dialogiconbuilder.h"

#include "gifframeresizer.h"
#include "iconbuilderconstants.h"
#include "iconbuilderlog.h"
#include "iconfilechooser.h"
#include "iconfolder.h"
#include "icontransform.h"
#include "ui_dialogiconbuilder.h"
#include "widgets/imagefile.h"
#include "widgets/kykitimages.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QListView>
#include <QMouseEvent>
#include <QMovie>
#include <QSaveFile>
#include <QStandardPaths>

using namespace IconBuilderConst;

namespace {

// Wait cursor on a widget for the length of a scope.
class WaitCursor
{
public:
    explicit WaitCursor(QWidget* widget) : m_widget(widget) { m_widget->setCursor(Qt::WaitCursor); }
    ~WaitCursor() { m_widget->setCursor(Qt::ArrowCursor); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    QWidget* m_widget;
};

bool copyBytes(const QString& source, const QString& target)
{
    const QString refusal = ImageFile::refusal(source);
    if (!refusal.isEmpty()) {
        qCWarning(lcIconBuilder) << "[DialogIconBuilder][copyImage]" << source << refusal;
        return false;
    }
    QFile in(source);
    QFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return out.write(in.readAll()) == in.size();
}

} // namespace

DialogIconBuilder::DialogIconBuilder(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DialogIconBuilder>())
    , m_gifSize(-1, -1)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Icon Builder"));
    KyKitImages::reportMissing("DialogIconBuilder", kBuilderImages);
    ui->cbBuilderList->setView(new QListView(ui->cbBuilderList));
    ui->cbBuilderList->setCurrentIndex(kModeFill);
    m_movie = new QMovie(this);
    connect(ui->cbBuilderList, &QComboBox::currentIndexChanged, this, &DialogIconBuilder::onBuilderListChanged);
}

DialogIconBuilder::~DialogIconBuilder()
{
    m_movie->stop();
}

void DialogIconBuilder::setImagePath(const QString& path)
{
    m_imagePath = path;
    setupImage();
}

QString DialogIconBuilder::getImagePath() const
{
    return m_imagePath;
}

QImage DialogIconBuilder::iconImage() const
{
    return m_iconImage;
}

QSize DialogIconBuilder::gifSize() const
{
    return m_gifSize;
}

bool DialogIconBuilder::isGifPath() const
{
    return QFileInfo(m_imagePath).suffix() == QLatin1String(kGifSuffix);
}

void DialogIconBuilder::setupImage()
{
    showImage(ui->cbBuilderList->currentIndex());
}

void DialogIconBuilder::onBuilderListChanged(int index)
{
    showImage(index);
}

void DialogIconBuilder::showImage(int mode)
{
    if (!ImageFile::refusal(m_imagePath).isEmpty())
        return;
    if (isGifPath()) {
        showGif();
        return;
    }
    ui->cbBuilderList->setEnabled(true);
    m_movie->stop();
    m_iconImage = getIconTransform(m_imagePath, mode);
    ui->imgIcon->setPixmap(QPixmap::fromImage(m_iconImage));
}

void DialogIconBuilder::showGif()
{
    m_gifSize = IconTransform::gifSize(QImageReader(m_imagePath).size());
    ui->cbBuilderList->setEnabled(false);  // the modes apply to stills only
    m_movie->stop();
    m_movie->setCacheMode(QMovie::CacheNone);
    m_movie->setFileName(m_imagePath);
    m_movie->setScaledSize(m_gifSize);
    ui->imgIcon->setMovie(m_movie);
    m_movie->start();
}

QImage DialogIconBuilder::getIconTransform(const QString& path, int mode)
{
    return IconTransform::render(path, mode);
}

bool DialogIconBuilder::copyImage()
{
    if (m_imagePath.isEmpty())
        return false;
    const QString source = m_imagePath;
    const QString target = IconFolder::claimNewFile(QFileInfo(source).suffix());
    if (target.isEmpty())
        return false;
    if (!copyBytes(source, target)) {
        qCWarning(lcIconBuilder) << "[DialogIconBuilder][copyImage] cannot copy" << source << "to" << target;
        QFile::remove(target);  // our own empty claim, nobody else's file
        m_imagePath.clear();
        return false;
    }
    m_imagePath = target;
    if (QFileInfo(target).suffix() == QLatin1String(kGifSuffix))
        gifConvert(target, target, m_gifSize);
    return true;
}

bool DialogIconBuilder::gifConvert(const QString& source, const QString& destination, const QSize& size)
{
    if (!QFileInfo::exists(source))
        return false;
    WaitCursor wait(this);
    return GifFrameResizer::convertFile(source, destination, size);
}

bool DialogIconBuilder::saveStill()
{
    const QByteArray format = QFileInfo(m_imagePath).suffix().toLatin1();
    QSaveFile file(m_imagePath);
    if (m_iconImage.isNull() || !file.open(QIODevice::WriteOnly) || !m_iconImage.save(&file, format.constData())
        || !file.commit()) {
        qCWarning(lcIconBuilder) << "[DialogIconBuilder][on_btnOk_clicked] still not saved; the copy stays"
                                 << m_imagePath;
        return false;
    }
    return true;
}

void DialogIconBuilder::on_btnOk_clicked()
{
    const bool copied = copyImage();
    // Only the file copyImage just claimed may be replaced by the rendering.
    if (copied && !isGifPath())
        saveStill();
    const QString folder = copied ? QFileInfo(m_imagePath).absolutePath() : IconFolder::path();
    emit fileChanged(folder);
    done(QDialog::Accepted);
}

void DialogIconBuilder::on_btnCancel_clicked()
{
    m_imagePath.clear();
    done(QDialog::Rejected);
}

void DialogIconBuilder::on_btnOpenFile_clicked()
{
    const QString file = IconFileChooser::getOpenFileName(
        this, tr("LAB_FILTER_IMAGE_SELECT"),
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
        tr("LAB_FILTER_IMAGE_FILES") + QLatin1String(kImageFilterSuffixes));
    if (!file.isEmpty())
        setImagePath(file);
}

QString DialogIconBuilder::saveExtAppIcon(const QPixmap& pixmap)
{
    const QImage icon = IconTransform::render(pixmap.toImage(), kModeFill);
    const QString target = IconFolder::claimNewFile(QLatin1String(kPngSuffix));
    if (target.isEmpty())
        return {};
    QSaveFile file(target);
    if (icon.isNull() || !file.open(QIODevice::WriteOnly) || !icon.save(&file, kPngSuffix) || !file.commit())
        qCWarning(lcIconBuilder) << "[DialogIconBuilder][saveExtAppIcon] cannot save" << target;
    return target;
}

void DialogIconBuilder::mousePressEvent(QMouseEvent* event)
{
    if (ui) {
        const QPoint point = event->position().toPoint();
        m_dragging = point.y() <= kTitleBarHeight;
        if (ui->widgetTitlebar->geometry().contains(point)) {
            m_pressX = int(event->position().x());
            m_pressY = int(event->position().y());
        }
    }
    QDialog::mousePressEvent(event);
}

void DialogIconBuilder::mouseMoveEvent(QMouseEvent* event)
{
    if (ui && m_pressX != -1 && m_pressY != -1 && m_dragging) {
        const QPoint delta(int(event->position().x()) - m_pressX, int(event->position().y()) - m_pressY);
        move(pos() + delta);
    }
    QDialog::mouseMoveEvent(event);
}

void DialogIconBuilder::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}
