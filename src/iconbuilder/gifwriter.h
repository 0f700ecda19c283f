#pragma once

#include <QSize>
#include <QString>

class QImage;
class QIODevice;
struct GifFileType;

// Writes an animated GIF with giflib, one full-canvas frame at a time. Every frame gets
// its own colour table (GifPalette) and "restore to background" disposal, so a pixel
// that turns transparent in a later frame shows as transparent, not as the frame before.
class GifWriter
{
public:
    // Repeat count as QImageReader::loopCount reports it: -1 for ever, 0 for a single
    // run (no loop block), n for n repeats.
    GifWriter(QIODevice* device, const QSize& canvas, int loopCount);
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // `frame` is scaled by the caller to the canvas size; `delayMs` is rounded to
    // hundredths of a second.
    bool addFrame(const QImage& frame, int delayMs);
    // Writes the trailer; false when anything failed on the way.
    bool finish();
    QString errorString() const;

private:
    bool fail(int code, const char* step);

    GifFileType* m_gif = nullptr;
    QSize m_canvas;
    QString m_error;
};
