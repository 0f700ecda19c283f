#pragma once

#include "focusedwindow.h"

#include <QList>
#include <QPoint>
#include <QRectF>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

// The window-system half of window control: it lists windows and acts on the i-th
// window of its own last listing. Everything else (filtering, the snapshot, title
// lookup) is shared and lives in WindowControl. An action on an index outside the last
// listing, or on a window that has gone since, logs and does nothing.
class WindowBackend
{
public:
    // One window as the window system reports it, untrimmed.
    struct Window
    {
        QString title;
        QString processName;
        QRectF frame;
        QString appId;  // the program's own name for itself (X11: the class name), if any
    };

    virtual ~WindowBackend() = default;

    virtual QString name() const = 0;
    // Lists the current top-level windows and makes that list the one indexes refer to.
    virtual QList<Window> enumerate() = 0;
    // Each returns whether the window system accepted the request.
    virtual bool setSize(int index, const QSize& size) = 0;
    virtual bool setPosition(int index, const QPoint& position) = 0;
    virtual bool close(int index) = 0;
    virtual bool maximize(int index) = 0;
    virtual bool minimize(int index) = 0;
    // True where the window system applies requests some time after they are made.
    virtual bool appliesLater() const;
    // Lets requests already made for this window take effect. True when its frame may
    // have changed since the last listing; *frame then gets the frame it has now, where
    // the backend can tell, and a kept listing is corrected with it rather than dropped.
    // The default does nothing.
    virtual bool settle(int index, QRectF* frame);

    using FocusListener = std::function<void(const FocusedWindow&)>;
    // Has listener called whenever the focused window, or its title, changes: from the
    // window system's events, never by polling. False where the window system sends no
    // such events; the default. One listener per backend; a new one replaces it.
    virtual bool watchFocus(FocusListener listener);
    // The focused window as last reported; empty where focus is not watched.
    virtual FocusedWindow focusedWindow();

    // What the user must set up before windows can be controlled, where the session
    // tells; the inspector says how.
    enum class Missing { Nothing, GnomeExtension };
    virtual Missing missing() const;

    // The backend for this process: SYSTEMDLL_WINDOWCONTROL_BACKEND=x11|sway|kwin|gnome|none forces
    // one; otherwise the platform's own (in a Wayland session the compositor's, whichever
    // answers, else X11 for the X11 programs), or one that lists nothing. Never null.
    static std::unique_ptr<WindowBackend> create();
    static std::unique_ptr<WindowBackend> create(const QString& backend);

    // Whether index names a window of a listing of count; logs "OPERATION ignored" where not.
    static bool isListed(int index, qsizetype count, const char* operation);

protected:
    WindowBackend() = default;
    Q_DISABLE_COPY(WindowBackend)
};
