#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>

// Resizes every frame of an animated GIF: Qt's reader composes each frame onto the
// canvas (partial frames and disposal), the frame is scaled smoothly, given its own
// palette and written by GifWriter with its delay and the file's loop count.
// A file whose frames would not fit in the memory budgets, read or written, is refused
// before any frame is decoded. Safe to run on a worker thread; nothing here touches widgets.
class GifFrameResizer
{
public:
    // Decoded frames of one file may take at most this much memory.
    static constexpr qint64 kFrameBudgetMiB = 256;
    // The frames written, at the size written, may take at most this much memory, and
    // there are at most kMaxFrames of them: a GIF of many tiny frames is small to read
    // but costs its frame count times the key size to convert.
    static constexpr qint64 kOutputBudgetMiB = 128;
    static constexpr int kMaxFrames = 2000;

    // Optional hooks for a caller on another thread: `started` gets the frame count,
    // `advanced` the number of frames done, and `cancelled` is asked before each frame;
    // `refused` gets why a file is not converted, in words for the user (it is logged too).
    struct Progress
    {
        std::function<void(int frames)> started;
        std::function<void(int done)> advanced;
        std::function<bool()> cancelled;
        std::function<void(const QString& why)> refused;
    };

    // Writes the result in one piece (atomically): on failure or cancellation the
    // destination keeps what it held. An invalid `size` takes the key-face rule.
    static bool convertFile(const QString& source, const QString& destination, const QSize& size,
                            const Progress& progress = {});
    // In-memory form; an empty result means failure (logged) or cancellation.
    static QByteArray convert(const QByteArray& gif, const QSize& size, const Progress& progress = {});

    static bool looksLikeGif(const QByteArray& data);
    // The logical screen every frame is composed on, from the header; empty when unknown.
    static QSize canvasSize(const QByteArray& gif);
    // Lowers Qt's process-wide limit for one decoded image to the frame budget. It is
    // a plain global, so this is called on the GUI thread, before any worker reads.
    static void limitReaderAllocation();
};
