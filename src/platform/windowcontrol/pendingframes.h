#pragma once

#include "windowbackend.h"

#include <QHash>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <optional>

// What a window was asked to become since it last settled: a size, a position or both.
struct PendingFrame
{
    std::optional<QPoint> position;
    std::optional<QSize> size;

    // frame with what was asked in place of its own corner and size.
    QRect appliedTo(const QRect& frame) const;
    // Whether frame shows what was asked; what was not asked is not looked at.
    bool isMetBy(const QRect& frame) const;
};

// A key's size and position arrive as two calls; a backend that applies them together
// gathers them here per window of its last listing (Listed: anything with an id) and
// takes them when the window settles. A size is at least one pixel each way.
template <typename Listed>
class PendingFrames
{
public:
    using Id = decltype(Listed::id);

    // Each false, with a log line, where index is not in windows.
    bool setSize(const QList<Listed>& windows, int index, const QSize& size)
    {
        if (!WindowBackend::isListed(index, windows.size(), "resize"))
            return false;
        m_pending[windows.at(index).id].size = QSize(qMax(1, size.width()), qMax(1, size.height()));
        return true;
    }

    bool setPosition(const QList<Listed>& windows, int index, const QPoint& position)
    {
        if (!WindowBackend::isListed(index, windows.size(), "move"))
            return false;
        m_pending[windows.at(index).id].position = position;
        return true;
    }

    // What was asked of the window, once: nothing after it has been taken.
    std::optional<PendingFrame> take(const Id& id)
    {
        const auto found = m_pending.constFind(id);
        if (found == m_pending.cend())
            return std::nullopt;
        const PendingFrame pending = *found;
        m_pending.erase(found);
        return pending;
    }

    // Forgets the windows a new listing no longer shows.
    void keepListed(const QList<Listed>& windows)
    {
        m_pending.removeIf([&](typename QHash<Id, PendingFrame>::iterator pending) {
            return std::none_of(windows.cbegin(), windows.cend(),
                                [&](const Listed& listed) { return listed.id == pending.key(); });
        });
    }

private:
    QHash<Id, PendingFrame> m_pending;
};
