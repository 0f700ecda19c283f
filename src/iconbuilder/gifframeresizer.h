#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

// Resizes every frame of an animated GIF with ImageMagick: frames are coalesced first,
// so partial frames survive, and each is brought to exactly `size`. The result is
// written in one piece (atomically), so on any failure the destination keeps what it
// held. ImageMagick's exceptions end here; the caller sees false and a log line.
class GifFrameResizer
{
public:
    static bool convertFile(const QString& source, const QString& destination, const QSize& size);
    // In-memory form; an empty result means failure.
    static QByteArray convert(const QByteArray& gif, const QSize& size);

    static bool looksLikeGif(const QByteArray& data);
};
