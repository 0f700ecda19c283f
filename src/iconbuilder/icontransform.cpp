#include "icontransform.h"

#include "iconbuilderconstants.h"
#include "iconbuilderlog.h"
#include "widgets/base/imagefile.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

using namespace IconBuilderConst;

namespace {
constexpr char kTransformSignature[] = "QImage DialogIconBuilder::getIconTransform(QString, const int)";
const QSize kKeySize(kKeyWidth, kKeyHeight);
}

bool IconTransform::isKnownMode(int mode)
{
    return mode >= 0 && mode < kModeCount;
}

QSize IconTransform::gifSize(const QSize& picture)
{
    QSize size = kKeySize;
    if (picture.isEmpty())
        return size;
    const float ratio = float(picture.width()) / float(picture.height());
    if (ratio > kKeyAspectRatio)
        size.setHeight(qMax(1, int(qint64(picture.height()) * kKeyWidth / picture.width())));
    else if (ratio < kKeyAspectRatio)
        size.setWidth(qMax(1, int(qint64(picture.width()) * kKeyHeight / picture.height())));
    return size;
}

// Scaled size of modes 0 to 2; QImage::scaled with an aspect mode reduces to this.
QSize IconTransform::scaledSize(const QSize& picture, int mode)
{
    QSize size = kKeySize;
    if (mode == kModeFill)
        size = picture.scaled(kKeySize, Qt::KeepAspectRatioByExpanding);
    else if (mode == kModeFit)
        size = picture.scaled(kKeySize, Qt::KeepAspectRatio);
    return size.expandedTo(QSize(1, 1));
}

// Part of an unscaled picture that tile and centre show.
QRect IconTransform::neededRect(const QSize& picture, int mode)
{
    const int w = qMin(picture.width(), kKeyWidth);
    const int h = qMin(picture.height(), kKeyHeight);
    if (mode == kModeTile)
        return QRect(0, 0, w, h);
    return QRect((picture.width() - w) / 2, (picture.height() - h) / 2, w, h);
}

QImage IconTransform::render(const QString& path, int mode)
{
    if (!isKnownMode(mode)) {
        qCWarning(lcIconBuilder, "[%s] Unexpect background mode", kTransformSignature);
        return {};
    }
    QString why;
    const QByteArray bytes = ImageFile::read(path, &why);
    const QImage image = why.isEmpty() ? render(bytes, mode, &why) : QImage();
    if (image.isNull())
        qCWarning(lcIconBuilder) << "[IconTransform] cannot read" << path << why;
    return image;
}

QImage IconTransform::render(const QByteArray& bytes, int mode, QString* error)
{
    if (!isKnownMode(mode)) {
        qCWarning(lcIconBuilder, "[%s] Unexpect background mode", kTransformSignature);
        return {};
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    *error = ImageFile::sizeRefusal(reader);
    if (!error->isEmpty())
        return {};
    const QSize picture = reader.size();
    if (picture.isValid() && !picture.isEmpty()) {
        if (mode == kModeTile || mode == kModeCenter) {
            const QRect needed = neededRect(picture, mode);
            if (needed.size() != picture)
                reader.setClipRect(needed);
        } else {
            reader.setScaledSize(scaledSize(picture, mode));
        }
    }
    QImage image = reader.read();
    if (image.isNull()) {
        *error = reader.errorString();
        return {};
    }
    if (!picture.isValid() || picture.isEmpty())
        return render(image, mode);  // the reader could not tell the size up front

    switch (mode) {
    case kModeFill: return fill(image);
    case kModeFit: return fit(image);
    case kModeStretch: return image.size() == kKeySize ? image : image.scaled(kKeySize);
    case kModeTile: return tile(image);
    default:
        // Already clipped to what shows; centre it on the key.
        return center(image);
    }
}

QImage IconTransform::render(const QImage& picture, int mode)
{
    if (!isKnownMode(mode)) {
        qCWarning(lcIconBuilder, "[%s] Unexpect background mode", kTransformSignature);
        return {};
    }
    if (picture.isNull())
        return {};
    switch (mode) {
    case kModeFill:
        return fill(picture.scaled(kKeySize, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation));
    case kModeFit:
        return fit(picture.scaled(kKeySize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    case kModeStretch:
        return picture.scaled(kKeySize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    case kModeTile:
        return tile(picture);
    default:
        return center(picture);
    }
}

QImage IconTransform::fill(const QImage& scaled)
{
    return scaled.copy((scaled.width() - kKeyWidth) / 2, (scaled.height() - kKeyHeight) / 2, kKeyWidth,
                       kKeyHeight);
}

// The canvas always carries alpha: margins stay transparent also for a JPEG.
QImage IconTransform::transparentCanvas()
{
    QImage canvas(kKeySize, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    return canvas;
}

QImage IconTransform::fit(const QImage& scaled)
{
    QImage canvas = transparentCanvas();
    QPainter painter(&canvas);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.drawImage((kKeyWidth - scaled.width()) / 2, (kKeyHeight - scaled.height()) / 2, scaled);
    return canvas;
}

QImage IconTransform::tile(const QImage& picture)
{
    QImage canvas = transparentCanvas();
    QPainter painter(&canvas);
    for (int y = 0; y < kKeyHeight; y += picture.height()) {
        for (int x = 0; x < kKeyWidth; x += picture.width())
            painter.drawImage(x, y, picture);
    }
    return canvas;
}

QImage IconTransform::center(const QImage& picture)
{
    QImage canvas = transparentCanvas();
    const QRect source = neededRect(picture.size(), kModeCenter);
    const QPoint target(qMax(0, (kKeyWidth - picture.width()) / 2), qMax(0, (kKeyHeight - picture.height()) / 2));
    QPainter painter(&canvas);
    painter.drawImage(target, picture, source);
    return canvas;
}
