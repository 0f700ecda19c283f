#pragma once

#include <QString>

// The window that has the keyboard focus, as far as the window system tells: its title,
// the name of its process and the program's own name for itself (app id or class name).
// All empty when no window has the focus.
struct FocusedWindow
{
    QString title;
    QString process;
    QString appId;

    friend bool operator==(const FocusedWindow& a, const FocusedWindow& b)
    {
        return a.title == b.title && a.process == b.process && a.appId == b.appId;
    }
    friend bool operator!=(const FocusedWindow& a, const FocusedWindow& b) { return !(a == b); }
};
