#include "clipboardsnapshot.h"

#include <QImage>
#include <QMimeData>

namespace {
// Qt's in-process image format holds a QImage, not bytes. From another program it is
// a decoding of one of the picture formats, whose bytes are copied anyway.
const QString kQtImage = QStringLiteral("application/x-qt-image");
}

namespace ClipboardSnapshot {

std::unique_ptr<QMimeData> copy(const QMimeData* source, Source kind)
{
    auto copied = std::make_unique<QMimeData>();
    if (!source)
        return copied;
    const QStringList formats = source->formats();
    for (const QString& format : formats) {
        if (format != kQtImage)
            copied->setData(format, source->data(format));
    }
    if (kind == InProcess && formats.contains(kQtImage))
        copied->setImageData(source->imageData());
    return copied;
}

bool isEmpty(const QMimeData* data)
{
    return !data || data->formats().isEmpty();
}

} // namespace ClipboardSnapshot
