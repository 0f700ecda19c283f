#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// One application window as the desktop reports it.
struct FocusedWindow
{
    QString appId;    // X11: the class part of WM_CLASS; Wayland: the app id
    QString instance; // X11: the instance part of WM_CLASS
    QString program;  // the process name (/proc/PID/comm)
    QString title;
    qint64 pid = 0;

    bool isEmpty() const { return appId.isEmpty() && instance.isEmpty() && program.isEmpty(); }
    // The name to show for it: the app id, else the process name.
    QString name() const;
};

// Tells which application window has the focus, from the desktop's own events (no
// polling): X11 (_NET_ACTIVE_WINDOW) or a sway / i3 IPC socket. create() picks the one
// the session offers; elsewhere there is none.
class FocusSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The source for this session (SWAYSOCK first, then DISPLAY), or nullptr with one
    // info line when neither can be followed.
    static FocusSource* create(QObject* parent = nullptr);

    // Asks for the programs that have windows now; answered by programsListed().
    virtual void listPrograms() = 0;

signals:
    // The focus moved. Several moves in one go arrive as one, the last (coalesced once
    // the events read are handled).
    void focusChanged(const FocusedWindow& window);
    // The names of the programs with windows (app ids or process names), sorted, once each.
    void programsListed(const QStringList& programs);

protected:
    // The process name of `pid`, empty when unknown.
    static QString programOf(qint64 pid);
    // Whether `pid` is this process: the host's own windows never count.
    static bool ours(qint64 pid);
};
