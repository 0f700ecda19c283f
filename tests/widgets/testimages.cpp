#include "testimages.h"

#include "iconbuilder/gifwriter.h"

#include <QSaveFile>

namespace {
QString g_lastError;
}

QImage TestImages::solid(const QSize& size, const QColor& color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

bool TestImages::writeGif(const QString& path, const QList<QImage>& frames, int delay)
{
    QSaveFile file(path);
    if (frames.isEmpty() || !file.open(QIODevice::WriteOnly)) {
        g_lastError = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    GifWriter writer(&file, frames.first().size(), -1);
    for (const QImage& frame : frames)
        writer.addFrame(frame, delay * 10);
    if (!writer.finish() || !file.commit()) {
        g_lastError = QStringLiteral("writing %1 failed: %2").arg(path, writer.errorString());
        return false;
    }
    return true;
}

QString TestImages::lastError()
{
    return g_lastError;
}
