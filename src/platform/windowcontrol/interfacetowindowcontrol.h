#pragma once

#include "windowbackend.h"
#include "windowsinfo.h"
#include "windowtask.h"

#include <QObject>
#include <QPoint>
#include <QSize>

#include <optional>

// What a Windows Control key asks of the window system: list the top-level windows of
// other applications and act on one of them, named by its title.
// getTargetWindowInformation fills the four public target fields, which the caller
// then reads. Titles are passed by value. The caller owns the object.
class InterfaceToWindowControl : public QObject
{
    Q_OBJECT
public:
    explicit InterfaceToWindowControl(QObject* parent = nullptr);
    ~InterfaceToWindowControl() override;

    // Carries out a key's task: finds its window by title, or else as the only window of
    // its process (or any window of its program, where the task says so), and applies
    // the operation; a resize is asked for again until the
    // window shows the frame, at most five times. Returns the window's frame as last
    // read (after a resize, the frame it reached), or nothing when no window was found
    // or it went away meanwhile.
    std::optional<QRect> apply(const WindowTask& task);

    // What the user must set up first, if anything; nothing unless the platform tells.
    virtual WindowBackend::Missing missing() const;

    virtual void setTargetWindowSize(QString title, const QSize& size) = 0;
    virtual void setTargetWindowLeftTopPosition(QString title, const QPoint& position) = 0;
    virtual void closeTargetWindow(QString title) = 0;
    virtual void maximunTargetWindow(QString title) = 0;
    virtual void minimunTargetWindow(QString title) = 0;
    // Called after a size or position request, before the frame is read again.
    virtual void resizeTargetWindow(QString title) = 0;
    virtual void getTargetWindowInformation(QString title) = 0;
    virtual QList<TovWindowControl::WindowsInfo> getAllWindowInfos() = 0;
    // Refills list with the current windows; the index of the first one titled exactly
    // title, or -1.
    virtual int getIndexOfWindowInfos(QList<TovWindowControl::WindowsInfo> list, QString title) = 0;

    QSize targetWindowSize;          // invalid when the last lookup found nothing
    QPoint targetWindowPosition;
    QString targetWindowTitle;
    QString targetProcessName;
    QString targetAppId;             // where the window system names programs

private:
    // Makes the task's window the target; false when there is none.
    bool findTarget(const WindowTask& task);
    bool findProgramWindow(const WindowTask& task);
    std::optional<QRect> resizeTarget(const QString& title, const QRect& requested);

    Q_DISABLE_COPY(InterfaceToWindowControl)
};
