#include "testimages.h"

#include <QBuffer>
#include <QFile>

#include <Magick++.h>
#include <vector>

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
    [[maybe_unused]] static const bool initialised = (Magick::InitializeMagick(nullptr), true);
    try {
        std::vector<Magick::Image> images;
        for (const QImage& frame : frames) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            frame.save(&buffer, "PNG");
            images.emplace_back(Magick::Blob(png.constData(), size_t(png.size())));
            images.back().animationDelay(size_t(delay));
            images.back().gifDisposeMethod(MagickCore::BackgroundDispose);
            images.back().magick("GIF");
        }
        Magick::writeImages(images.begin(), images.end(), ("GIF:" + path).toStdString());
        return true;
    } catch (const Magick::Exception& error) {
        g_lastError = QStringLiteral("writing %1 failed: %2").arg(path, QString::fromLocal8Bit(error.what()));
        return false;
    }
}

bool TestImages::writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString TestImages::lastError()
{
    return g_lastError;
}
