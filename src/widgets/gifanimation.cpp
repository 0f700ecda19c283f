#include "gifanimation.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageReader>
#include <QList>
#include <QPointer>

namespace {

// The clock every animation shares; its grid is what lines frames up across keys.
qint64 now()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

qint64 onGrid(qint64 ms)
{
    return (ms + GifAnimation::kTickMs - 1) / GifAnimation::kTickMs * GifAnimation::kTickMs;
}

// Animations with a frame pending, GUI thread only.
QList<GifAnimation*>& playing()
{
    static QList<GifAnimation*> list;
    return list;
}

} // namespace

GifAnimation::GifAnimation(QObject* parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &GifAnimation::onTimeout);
}

GifAnimation::~GifAnimation()
{
    stop();
}

bool GifAnimation::open(const QByteArray& gif, const QSize& size, QString* error)
{
    stop();
    m_open = false;
    m_reader.reset();
    m_input.reset();
    m_gif = gif;
    m_size = size;
    m_frames.clear();
    m_cached = false;
    m_streaming = false;
    m_cachedBytes = 0;
    m_index = 0;
    m_current = QPixmap();
    Frame first;
    if (!reopen() || !readFrame(&first)) {
        if (error)
            *error = m_reader ? m_reader->errorString() : QString();
        m_reader.reset();
        m_input.reset();
        return false;
    }
    m_loopsLeft = m_reader->loopCount();
    m_open = true;
    keep(first);
    show(first);
    return true;
}

void GifAnimation::start()
{
    if (isRunning() || !m_open || (m_cached && m_frames.size() < 2))
        return;
    schedule(onGrid(now() + m_delayMs));
}

void GifAnimation::stop()
{
    m_timer.stop();
    playing().removeOne(this);
}

bool GifAnimation::reopen()
{
    m_reader.reset();
    m_input = std::make_unique<QBuffer>(&m_gif);
    m_input->open(QIODevice::ReadOnly);
    m_reader = std::make_unique<QImageReader>(m_input.get());
    if (m_size.isValid())
        m_reader->setScaledSize(m_size);
    return m_reader->canRead();
}

bool GifAnimation::readFrame(Frame* frame)
{
    QImage image;
    if (!m_reader || !m_reader->read(&image))
        return false;
    frame->pixmap = QPixmap::fromImage(std::move(image));
    const int delay = m_reader->nextImageDelay();
    frame->delayMs = delay < kMinDelayMs ? kShortDelayMs : delay;
    return true;
}

void GifAnimation::keep(const Frame& frame)
{
    if (m_streaming)
        return;
    const QSize pixels = frame.pixmap.size();
    m_cachedBytes += qint64(pixels.width()) * pixels.height() * 4;
    if (m_cachedBytes <= kCacheBytes) {
        m_frames.append(frame);
        return;
    }
    m_streaming = true;
    m_frames.clear();
    m_frames.squeeze();
}

bool GifAnimation::nextLoop()
{
    if (m_loopsLeft == 0)
        return false;
    if (m_loopsLeft > 0)
        --m_loopsLeft;
    m_index = 0;
    return true;
}

bool GifAnimation::jumpToNextFrame()
{
    if (!m_open)
        return false;
    if (m_cached) {
        if (m_index + 1 < m_frames.size())
            ++m_index;
        else if (!nextLoop())
            return false;
        show(m_frames.at(m_index));
        return true;
    }
    Frame frame;
    if (readFrame(&frame)) {
        ++m_index;
        keep(frame);
        show(frame);
        return true;
    }
    // The file has ended (or broke off: what was read still plays).
    if (m_streaming) {
        if (!nextLoop() || !reopen() || !readFrame(&frame))
            return false;
        show(frame);
        return true;
    }
    m_cached = true;
    m_reader.reset();
    m_input.reset();
    m_gif = QByteArray();  // every frame is in memory
    if (m_frames.size() < 2 || !nextLoop())
        return false;
    show(m_frames.first());
    return true;
}

void GifAnimation::show(const Frame& frame)
{
    m_current = frame.pixmap;
    m_delayMs = frame.delayMs;
    emit frameChanged(m_current);
}

void GifAnimation::schedule(qint64 due)
{
    m_due = due;
    m_timer.start(int(qMax<qint64>(0, due - now())));
    if (!playing().contains(this))
        playing().append(this);
}

// Shows every animation's frame that falls due within this tick, this one's included.
void GifAnimation::onTimeout()
{
    const qint64 time = now();
    const QList<GifAnimation*> snapshot = playing();
    for (GifAnimation* animation : snapshot) {
        if (!playing().contains(animation) || animation->m_due > time + kTickMs / 2)
            continue;
        QPointer<GifAnimation> alive(animation);  // a frameChanged slot may delete it
        animation->m_timer.stop();
        if (!animation->jumpToNextFrame()) {
            if (alive)
                animation->stop();
            continue;
        }
        if (!alive)
            continue;
        qint64 next = animation->m_due + animation->m_delayMs;
        if (next <= time)  // fell behind (a busy event loop): resume from now
            next = onGrid(time + animation->m_delayMs);
        animation->schedule(next);
    }
}
