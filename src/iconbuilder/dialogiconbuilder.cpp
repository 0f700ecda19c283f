#include "dialogiconbuilder.h"

#include "gifframeresizer.h"
#include "iconbuilderconstants.h"
#include "iconbuilderlog.h"
#include "iconfilechooser.h"
#include "iconfolder.h"
#include "icontransform.h"
#include "ui_dialogiconbuilder.h"
#include "widgets/base/imagefile.h"
#include "widgets/base/kykitimages.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QImageReader>
#include <QImageWriter>
#include <QListView>
#include <QMouseEvent>
#include <QMovie>
#include <QPromise>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtConcurrent/QtConcurrentRun>

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

// The suffix a still is saved under: its own when Qt can write that format, else PNG.
QString stillSuffix(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return QImageWriter::supportedImageFormats().contains(suffix.toLower().toLatin1()) ? suffix
                                                                                         : QLatin1String(kPngSuffix);
}

// Writes `icon` over the claimed, still empty `target`; removes the claim on failure.
bool fillClaim(const QImage& icon, const QString& target)
{
    const QByteArray format = QFileInfo(target).suffix().toLower().toLatin1();
    QSaveFile file(target);
    if (file.open(QIODevice::WriteOnly) && icon.save(&file, format.constData()) && file.commit())
        return true;
    qCWarning(lcIconBuilder) << "[DialogIconBuilder] cannot save" << target << file.errorString();
    QFile::remove(target);  // our own claim, nobody else's file
    return false;
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
    GifFrameResizer::limitReaderAllocation();
    connect(ui->cbBuilderList, &QComboBox::currentIndexChanged, this, &DialogIconBuilder::onBuilderListChanged);
}

DialogIconBuilder::~DialogIconBuilder()
{
    m_movie->stop();
    if (m_conversion) {
        m_conversion->cancel();
        m_conversion->waitForFinished();
        QFile::remove(m_target);
    }
}

void DialogIconBuilder::setImagePath(const QString& path)
{
    m_imagePath = path;
    m_problem.clear();
    ui->lblProblem->hide();
    ui->btnOk->setEnabled(true);
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
    ++m_renderings;  // a rendering still under way is for an older choice
    endRendering();
    QString why;
    const QByteArray bytes = ImageFile::read(m_imagePath, &why);
    if (!why.isEmpty())
        return;
    if (isGifPath()) {
        showGif(bytes);
        return;
    }
    ui->cbBuilderList->setEnabled(true);
    m_movie->stop();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QSize picture = QImageReader(&buffer).size();
    if (qint64(picture.width()) * picture.height() <= kGuiThreadPixels) {
        showRendering(IconTransform::render(bytes, mode, &why), why);
        return;
    }
    // A large picture takes seconds even scaled: rendered on a worker, OK waits for it.
    m_iconImage = QImage();
    m_iconSource.clear();
    ui->imgIcon->clear();
    m_rendering = true;
    ui->btnOk->setEnabled(false);
    ui->progressConvert->setRange(0, 0);
    ui->progressConvert->show();
    auto* rendering = new QFutureWatcher<std::pair<QImage, QString>>(this);
    connect(rendering, &QFutureWatcherBase::finished, this, [this, rendering, generation = m_renderings] {
        rendering->deleteLater();
        if (generation != m_renderings)
            return;
        endRendering();
        const auto [image, why] = rendering->result();
        showRendering(image, why);
    });
    rendering->setFuture(QtConcurrent::run([bytes, mode] {
        QString why;
        QImage image = IconTransform::render(bytes, mode, &why);
        return std::make_pair(std::move(image), why);
    }));
}

void DialogIconBuilder::showRendering(const QImage& image, const QString& why)
{
    if (image.isNull())
        qCWarning(lcIconBuilder) << "[IconTransform] cannot read" << m_imagePath << why;
    m_iconImage = image;
    m_iconSource = m_imagePath;
    ui->imgIcon->setPixmap(QPixmap::fromImage(m_iconImage));
}

bool DialogIconBuilder::isRendering() const
{
    return m_rendering;
}

void DialogIconBuilder::endRendering()
{
    if (!m_rendering)
        return;
    m_rendering = false;
    ui->progressConvert->hide();
    ui->btnOk->setEnabled(m_problem.isEmpty());
}

void DialogIconBuilder::showGif(const QByteArray& gif)
{
    // The movie plays the bytes read once: a loop never opens the file again.
    auto* input = new QBuffer(this);
    input->setData(gif);
    input->open(QIODevice::ReadOnly);
    const QSize canvas = QImageReader(input).size();
    m_gifSize = IconTransform::gifSize(canvas);
    input->seek(0);
    ui->cbBuilderList->setEnabled(false);  // the modes apply to stills only
    m_movie->stop();
    // The movie decodes every frame at its full canvas on this thread: a large one is
    // not previewed (OK still converts it, on the worker, within its budget).
    if (qint64(canvas.width()) * canvas.height() > kMaxPreviewGifPixels) {
        qCWarning(lcIconBuilder).nospace() << "[DialogIconBuilder] no preview of a GIF canvas of " << canvas.width()
                                           << " x " << canvas.height() << " pixels";
        delete input;
        ui->imgIcon->clear();
        return;
    }
    m_movie->setCacheMode(QMovie::CacheNone);
    m_movie->setDevice(input);
    delete m_movieInput;
    m_movieInput = input;
    m_movie->setScaledSize(m_gifSize);
    ui->imgIcon->setMovie(m_movie);
    m_movie->start();
}

QImage DialogIconBuilder::getIconTransform(const QString& path, int mode)
{
    return IconTransform::render(path, mode);
}

QImage DialogIconBuilder::renderingOf(const QString& path)
{
    if (m_iconSource == path)
        return m_iconImage;  // also when the file is gone since the preview
    return getIconTransform(path, ui->cbBuilderList->currentIndex());
}

QString DialogIconBuilder::claimTarget(const QString& suffix)
{
    const QString target = IconFolder::claimNewFile(suffix);
    if (!target.isEmpty() && !IconFolder::contains(target)) {
        QFile::remove(target);
        return {};
    }
    return target;
}

// Nothing stored: the caller gets no path, in particular none outside the icon folder.
bool DialogIconBuilder::giveUp(const QString& why)
{
    m_imagePath.clear();
    m_problem = why;
    return false;
}

bool DialogIconBuilder::storeStill()
{
    const QImage icon = renderingOf(m_imagePath);
    if (icon.isNull()) {
        qCWarning(lcIconBuilder) << "[DialogIconBuilder][copyImage] not a picture; nothing stored" << m_imagePath;
        return giveUp(tr("it is not a picture that can be read"));
    }
    const QString target = claimTarget(stillSuffix(m_imagePath));
    if (target.isEmpty() || !fillClaim(icon, target))
        return giveUp(tr("the icon folder cannot be written"));
    m_imagePath = target;
    return true;
}

bool DialogIconBuilder::copyImage()
{
    if (m_imagePath.isEmpty())
        return false;
    if (!isGifPath())
        return storeStill();
    const QString target = claimTarget(QLatin1String(kGifSuffix));
    if (target.isEmpty())
        return giveUp();
    if (!gifConvert(m_imagePath, target, m_gifSize)) {
        QFile::remove(target);
        return giveUp();
    }
    m_imagePath = target;
    return true;
}

bool DialogIconBuilder::gifConvert(const QString& source, const QString& destination, const QSize& size)
{
    if (!QFileInfo::exists(source))
        return false;
    WaitCursor wait(this);
    return GifFrameResizer::convertFile(source, destination, size);
}

bool DialogIconBuilder::isConverting() const
{
    return m_conversion != nullptr;
}

void DialogIconBuilder::startConversion()
{
    m_target = claimTarget(QLatin1String(kGifSuffix));
    if (m_target.isEmpty())
        return finishOk(giveUp());
    ui->btnOk->setEnabled(false);
    ui->btnOpenFile->setEnabled(false);
    ui->progressConvert->setRange(0, 0);
    ui->progressConvert->show();

    m_conversion = new QFutureWatcher<bool>(this);
    connect(m_conversion, &QFutureWatcherBase::progressRangeChanged, ui->progressConvert, &QProgressBar::setRange);
    connect(m_conversion, &QFutureWatcherBase::progressValueChanged, ui->progressConvert, &QProgressBar::setValue);
    connect(m_conversion, &QFutureWatcherBase::finished, this, &DialogIconBuilder::onConversionFinished);
    const QString source = m_imagePath;
    const QString target = m_target;
    const QSize size = m_gifSize;
    m_refusal = std::make_shared<QString>();  // written by the worker, read once it has finished
    m_conversion->setFuture(QtConcurrent::run([source, target, size, refusal = m_refusal](QPromise<bool>& promise) {
        GifFrameResizer::Progress progress;
        progress.started = [&promise](int frames) { promise.setProgressRange(0, frames); };
        progress.advanced = [&promise](int done) { promise.setProgressValue(done); };
        progress.cancelled = [&promise] { return promise.isCanceled(); };
        progress.refused = [refusal](const QString& why) { *refusal = why; };
        promise.addResult(GifFrameResizer::convertFile(source, target, size, progress));
    }));
}

void DialogIconBuilder::onConversionFinished()
{
    const QFuture<bool> future = m_conversion->future();
    const bool converted = !m_cancelled && !future.isCanceled() && future.resultCount() > 0 && future.result();
    m_conversion->deleteLater();
    m_conversion = nullptr;
    ui->progressConvert->hide();
    if (!converted) {
        QFile::remove(m_target);  // the claim, with whatever a late finish put there
        m_target.clear();
        giveUp(m_cancelled ? QString() : m_refusal->isEmpty() ? tr("it cannot be converted") : *m_refusal);
        finishOk(false);
        return;
    }
    m_imagePath = m_target;
    m_target.clear();
    finishOk(true);
}

void DialogIconBuilder::finishOk(bool stored)
{
    if (!stored && (m_cancelled || m_problem.isEmpty())) {
        done(QDialog::Rejected);
        return;
    }
    if (!stored) {
        // The user chose this picture: say why it is refused and let them pick another.
        ui->lblProblem->setText(tr("This picture cannot be used: %1.").arg(m_problem));
        ui->lblProblem->show();
        ui->btnOk->setEnabled(false);
        ui->btnOpenFile->setEnabled(true);
        return;
    }
    emit fileChanged(QFileInfo(m_imagePath).absolutePath());
    done(QDialog::Accepted);
}

void DialogIconBuilder::on_btnOk_clicked()
{
    if (m_conversion || m_rendering)
        return;
    // A GIF converts on the worker; the dialog finishes when it is done. A file that
    // must not be read is refused here, before anything is claimed.
    if (isGifPath() && !m_imagePath.isEmpty()) {
        const QString refusal = ImageFile::refusal(m_imagePath);
        if (!refusal.isEmpty()) {
            qCWarning(lcIconBuilder) << "[DialogIconBuilder][copyImage]" << m_imagePath << refusal;
            return finishOk(giveUp(refusal));
        }
        return startConversion();
    }
    finishOk(copyImage());
}

void DialogIconBuilder::on_btnCancel_clicked()
{
    m_imagePath.clear();
    if (m_conversion) {
        // Finishes in onConversionFinished, once the worker has let go of the file.
        m_cancelled = true;
        m_conversion->cancel();
        ui->btnCancel->setEnabled(false);
        return;
    }
    done(QDialog::Rejected);
}

void DialogIconBuilder::reject()
{
    on_btnCancel_clicked();
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
    if (icon.isNull())
        return {};
    const QString target = IconFolder::claimNewFile(QLatin1String(kPngSuffix));
    if (target.isEmpty())
        return {};
    return fillClaim(icon, target) ? target : QString();
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
