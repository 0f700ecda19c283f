#pragma once

#include "focussource.h"

#include <QTimer>
#include <memory>

// The focused window on X11: the window manager's _NET_ACTIVE_WINDOW, read on its
// property events over a connection of its own; _NET_CLIENT_LIST for the programs.
class X11FocusSource : public FocusSource
{
    Q_OBJECT
public:
    explicit X11FocusSource(QObject* parent = nullptr);
    ~X11FocusSource() override;

    bool connected() const { return m_x11 != nullptr; }
    void listPrograms() override;

private:
    struct X11;

    void readEvents();
    void settle();

    std::unique_ptr<X11> m_x11;
    QTimer m_settle;  // zero: runs once the events read so far are handled
    quint32 m_last = 0;  // the last window reported (none of the host's)
};
