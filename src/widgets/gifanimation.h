#pragma once

#include <QByteArray>
#include <QObject>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QVector>

#include <memory>

class QBuffer;
class QImageReader;

// Plays a GIF at the size it is shown, from the file's bytes in memory (never from the
// path again). Each frame is decoded once, on its first showing, and kept while the
// frames fit kCacheBytes; a longer GIF is decoded again from those bytes on each loop.
// Frames of all playing animations fall due on one 10 ms grid, and one timeout shows
// every frame due within that tick, so a deck of animated keys repaints once a tick
// instead of once per key.
class GifAnimation : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kCacheBytes = 8 * 1024 * 1024;
    static constexpr int kTickMs = 10;
    // Delays this short are not meant literally; GIFs everywhere play them at 100 ms.
    static constexpr int kMinDelayMs = 20;
    static constexpr int kShortDelayMs = 100;

    explicit GifAnimation(QObject* parent = nullptr);
    ~GifAnimation() override;

    // Shows the first frame of `gif` scaled to `size`; false with the reader's reason
    // when there is none.
    bool open(const QByteArray& gif, const QSize& size, QString* error);
    void start();
    void stop();
    bool isRunning() const { return m_timer.isActive(); }
    QPixmap currentFrame() const { return m_current; }
    // Shows the next frame at once, as the timer would; false after the last loop.
    bool jumpToNextFrame();
    // Frames kept in memory; 0 once a GIF has outgrown the cache.
    int cachedFrames() const { return int(m_frames.size()); }

signals:
    void frameChanged(const QPixmap& frame);

private:
    struct Frame
    {
        QPixmap pixmap;
        int delayMs = kShortDelayMs;
    };

    bool reopen();
    bool readFrame(Frame* frame);
    // Keeps a frame of the first loop while the cache has room; past it, drops them all.
    void keep(const Frame& frame);
    // Back to the first frame if another loop is due; false after the last.
    bool nextLoop();
    void show(const Frame& frame);
    void schedule(qint64 due);
    void onTimeout();

    QByteArray m_gif;
    QSize m_size;
    std::unique_ptr<QBuffer> m_input;  // over m_gif, read by m_reader
    std::unique_ptr<QImageReader> m_reader;
    QVector<Frame> m_frames;  // in order from the first; complete once m_cached
    bool m_open = false;  // a first frame was read
    bool m_cached = false;
    bool m_streaming = false;  // over the budget: every loop reads the file again
    qint64 m_cachedBytes = 0;
    int m_index = 0;
    int m_delayMs = kShortDelayMs;  // of the frame on show
    int m_loopsLeft = -1;           // -1: forever
    QPixmap m_current;
    QTimer m_timer;
    qint64 m_due = 0;  // on the shared clock, when the next frame is shown
};
