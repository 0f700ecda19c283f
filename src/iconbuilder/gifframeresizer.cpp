#include "gifframeresizer.h"

#include "gifwriter.h"
#include "iconbuilderlog.h"
#include "icontransform.h"
#include "widgets/base/imagefile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>

namespace {

constexpr char kTrailer = ';';

bool wasCancelled(const GifFrameResizer::Progress& progress)
{
    return progress.cancelled && progress.cancelled();
}

void refuse(const GifFrameResizer::Progress& progress, const QString& why)
{
    if (progress.refused)
        progress.refused(why);
}

} // namespace

void GifFrameResizer::limitReaderAllocation()
{
    const int limit = QImageReader::allocationLimit();
    if (limit <= 0 || limit > kFrameBudgetMiB)
        QImageReader::setAllocationLimit(int(kFrameBudgetMiB));
}

QSize GifFrameResizer::canvasSize(const QByteArray& gif)
{
    if (!looksLikeGif(gif) || gif.size() < 10)
        return {};
    auto word = [&gif](int at) { return int(uchar(gif[at])) | int(uchar(gif[at + 1])) << 8; };
    return QSize(word(6), word(8));
}

bool GifFrameResizer::looksLikeGif(const QByteArray& data)
{
    return data.startsWith("GIF87a") || data.startsWith("GIF89a");
}

QByteArray GifFrameResizer::convert(const QByteArray& gif, const QSize& size, const Progress& progress)
{
    if (!looksLikeGif(gif)) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer] not a GIF (" << gif.size() << "bytes)";
        refuse(progress, QStringLiteral("it is not a GIF"));
        return {};
    }
    QBuffer input;
    input.setData(gif);
    input.open(QIODevice::ReadOnly);
    QImageReader reader(&input, "gif");

    // Only the headers are scanned here; no pixel is decoded yet.
    const QSize canvas = canvasSize(gif).expandedTo(reader.size());
    const int frames = reader.imageCount();
    if (canvas.isEmpty() || frames <= 0) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer] the GIF holds no frame";
        refuse(progress, QStringLiteral("the GIF holds no frame"));
        return {};
    }
    if (!gif.endsWith(kTrailer)) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer] the GIF is truncated (no trailer)";
        refuse(progress, QStringLiteral("the GIF is truncated"));
        return {};
    }
    const qint64 decodedMiB = qint64(canvas.width()) * canvas.height() * 4 * frames / (1024 * 1024);
    if (decodedMiB > kFrameBudgetMiB) {
        qCWarning(lcIconBuilder).nospace()
            << "[GifFrameResizer] refused: " << frames << " frames of " << canvas.width() << " x " << canvas.height()
            << " need " << decodedMiB << " MiB decoded, more than " << kFrameBudgetMiB << " MiB";
        refuse(progress, QStringLiteral("its %1 frames of %2 x %3 would take %4 MiB of memory, more than %5 MiB")
                             .arg(frames).arg(canvas.width()).arg(canvas.height()).arg(decodedMiB).arg(kFrameBudgetMiB));
        return {};
    }
    const QSize target = size.isEmpty() ? IconTransform::gifSize(canvas) : size;
    const qint64 writtenMiB = qint64(target.width()) * target.height() * 4 * frames / (1024 * 1024);
    if (frames > kMaxFrames || writtenMiB > kOutputBudgetMiB) {
        qCWarning(lcIconBuilder).nospace()
            << "[GifFrameResizer] refused: " << frames << " frames of " << target.width() << " x " << target.height()
            << " to write, more than " << kMaxFrames << " frames or " << kOutputBudgetMiB << " MiB";
        refuse(progress, QStringLiteral("its %1 frames would take %2 MiB at %3 x %4; at most %5 frames and %6 MiB are converted")
                             .arg(frames).arg(writtenMiB).arg(target.width()).arg(target.height())
                             .arg(kMaxFrames).arg(kOutputBudgetMiB));
        return {};
    }
    const int loops = reader.loopCount();
    if (progress.started)
        progress.started(frames);

    QByteArray result;
    QBuffer output(&result);
    output.open(QIODevice::WriteOnly);
    GifWriter writer(&output, target, loops);
    for (int i = 0; i < frames; ++i) {
        if (wasCancelled(progress))
            return {};
        QImage frame;
        if (!reader.read(&frame)) {
            qCWarning(lcIconBuilder) << "[GifFrameResizer] frame" << i + 1 << "of" << frames
                                     << "cannot be read:" << reader.errorString();
            refuse(progress, QStringLiteral("frame %1 of %2 cannot be read (%3)").arg(i + 1).arg(frames).arg(reader.errorString()));
            return {};
        }
        const int delay = reader.nextImageDelay();
        frame.convertTo(QImage::Format_ARGB32_Premultiplied);
        if (!writer.addFrame(frame.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), delay))
            break;
        if (progress.advanced)
            progress.advanced(i + 1);
    }
    if (!writer.finish()) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer]" << writer.errorString();
        refuse(progress, writer.errorString());
        return {};
    }
    return result;
}

bool GifFrameResizer::convertFile(const QString& source, const QString& destination, const QSize& size,
                                  const Progress& progress)
{
    QString refusal;
    const QByteArray gif = ImageFile::read(source, &refusal);
    if (!refusal.isEmpty()) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer]" << source << refusal;
        refuse(progress, refusal);
        return false;
    }

    const QByteArray converted = convert(gif, size, progress);
    if (converted.isEmpty()) {
        if (!wasCancelled(progress))
            qCWarning(lcIconBuilder) << "[GifFrameResizer]" << source << "not converted";
        return false;
    }
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly) || out.write(converted) != converted.size() || !out.commit()) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer] cannot write" << destination << out.errorString();
        refuse(progress, QStringLiteral("the icon cannot be written (%1)").arg(out.errorString()));
        return false;
    }
    return true;
}
