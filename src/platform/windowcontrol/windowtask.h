#pragma once

#include <QDebug>
#include <QRect>
#include <QString>

// What a Windows Control key does: the window, named by its exact title or else the only
// window of its process (or, for titles that change, any window of its program: the
// first listed whose app id or process name is the key's), and the operation. For a resize, rect is the frame asked for,
// decorations included; a rect without a size (empty, or the unset -1 x -1) moves the
// window and leaves its size alone.
struct WindowTask
{
    // In the order, and with the numbers, that a key stores.
    enum Operation { Resize = 0, Minimise = 1, Maximise = 2, Close = 3 };
    enum class Match { Title, Program };

    // A resize is asked for again until the window shows the frame, at most this many
    // times; the first attempt calls the platform's resize hook once, each later one
    // this many times.
    static constexpr int kResizeAttempts = 5;
    static constexpr int kHookCallsFirstAttempt = 1;
    static constexpr int kHookCallsLaterAttempt = 3;

    QString title;
    QString process;
    Operation operation = Resize;
    QRect rect;
    Match match = Match::Title;
    QString appId;  // for Match::Program; empty: by process name alone
};

QDebug operator<<(QDebug debug, const WindowTask& task);
