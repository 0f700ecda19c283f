#include "testimages.h"

#include "iconbuilder/gifwriter.h"

#include <QBuffer>
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

QByteArray TestImages::gif(const QList<QImage>& frames, int delay, int loops)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    GifWriter writer(&buffer, frames.value(0).size(), loops);
    for (const QImage& frame : frames)
        writer.addFrame(frame, delay * 10);
    g_lastError = writer.finish() ? QString() : writer.errorString();
    return g_lastError.isEmpty() ? buffer.data() : QByteArray();
}

bool TestImages::writeGif(const QString& path, const QList<QImage>& frames, int delay)
{
    const QByteArray bytes = gif(frames, delay);
    QSaveFile file(path);
    if (!bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    g_lastError = QStringLiteral("writing %1 failed: %2").arg(path, g_lastError);
    return false;
}

QString TestImages::lastError()
{
    return g_lastError;
}
