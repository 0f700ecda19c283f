#include "gifframeresizer.h"

#include "iconbuilderlog.h"

#include <QFile>
#include <QSaveFile>

#include <Magick++.h>

#include <exception>
#include <list>
#include <mutex>

namespace {

void initializeMagick()
{
    static std::once_flag once;
    std::call_once(once, [] { Magick::InitializeMagick(nullptr); });
}

// Throws only ImageMagick's exceptions; convert() catches them.
QByteArray resizeFrames(const QByteArray& gif, const QSize& size)
{
    Magick::Blob input(gif.constData(), size_t(gif.size()));
    std::list<Magick::Image> frames;
    Magick::readImages(&frames, input);
    if (frames.empty()) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer] the GIF holds no frame";
        return {};
    }
    std::list<Magick::Image> coalesced;
    Magick::coalesceImages(&coalesced, frames.begin(), frames.end());
    frames.clear();

    Magick::Geometry box(size_t(size.width()), size_t(size.height()), 0, 0);
    // The box already has the picture's aspect ratio; forcing it avoids one-pixel
    // rounding differences, so every frame is exactly the size the preview uses.
    box.aspect(true);
    for (Magick::Image& frame : coalesced) {
        frame.resize(box);
        frame.page(Magick::Geometry(0, 0, 0, 0));  // the canvas is the frame now
    }
    Magick::Blob output;
    coalesced.front().magick("GIF");
    Magick::writeImages(coalesced.begin(), coalesced.end(), &output, true);
    return QByteArray(static_cast<const char*>(output.data()), qsizetype(output.length()));
}

} // namespace

bool GifFrameResizer::looksLikeGif(const QByteArray& data)
{
    return data.startsWith("GIF87a") || data.startsWith("GIF89a");
}

QByteArray GifFrameResizer::convert(const QByteArray& gif, const QSize& size)
{
    if (size.isEmpty()) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer] no target size" << size;
        return {};
    }
    if (!looksLikeGif(gif)) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer] not a GIF (" << gif.size() << "bytes)";
        return {};
    }
    initializeMagick();
    try {
        return resizeFrames(gif, size);
    } catch (const Magick::Exception& error) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer] ImageMagick:" << error.what();
    } catch (const std::exception& error) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer]" << error.what();
    }
    return {};
}

bool GifFrameResizer::convertFile(const QString& source, const QString& destination, const QSize& size)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer] cannot open" << source << in.errorString();
        return false;
    }
    const QByteArray gif = in.readAll();
    in.close();

    const QByteArray converted = convert(gif, size);
    if (converted.isEmpty()) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer]" << source << "left unconverted";
        return false;
    }
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly) || out.write(converted) != converted.size() || !out.commit()) {
        qCWarning(lcIconBuilder) << "[GifFrameResizer] cannot write" << destination << out.errorString();
        return false;
    }
    return true;
}
