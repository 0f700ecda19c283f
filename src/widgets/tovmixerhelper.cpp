#include "tovmixerhelper.h"

#include "widgets/base/widgetslog.h"

#include <QPainter>

namespace {

// Formats a painter cannot draw on get 32-bit with alpha; so do palette images, whose
// padding must stay transparent.
QImage::Format canvasFormat(QImage::Format source)
{
    switch (source) {
    case QImage::Format_Invalid:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        return QImage::Format_ARGB32;
    default:
        return source;
    }
}

} // namespace

QImage TovMixerHelper::getProcessPluginIcon(const QImage& image, const QSize& size)
{
    if (size.isEmpty()) {
        qCWarning(lcWidgets) << "[TovMixerHelper][getProcessPluginIcon] empty target size" << size;
        return QImage();
    }
    QImage fitted = image;
    if (image.width() > size.width() || image.height() > size.height())
        fitted = image.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);

    QImage canvas(size, canvasFormat(image.format()));
    canvas.fill(Qt::transparent);
    if (!fitted.isNull()) {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        // Integer division towards zero: negative offsets crop both sides equally.
        painter.drawImage((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2, fitted);
    }
    return canvas;
}

QSize TovMixerHelper::fitGifSize(const QSize& image, const QSize& box)
{
    if (image.isEmpty() || box.isEmpty())
        return box;
    const float imageRatio = float(image.width()) / float(image.height());
    const float boxRatio = float(box.width()) / float(box.height());
    if (imageRatio > boxRatio)
        return QSize(box.width(), qMax(1, int(qint64(image.height()) * box.width() / image.width())));
    if (boxRatio > imageRatio)
        return QSize(qMax(1, int(qint64(image.width()) * box.height() / image.height())), box.height());
    return box;
}
