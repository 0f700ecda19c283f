#include "interfacetowindowcontrol.h"

#include <algorithm>

#include "windowcontrollog.h"
#include "windowrecordfilter.h"

InterfaceToWindowControl::InterfaceToWindowControl(QObject* parent)
    : QObject(parent)
{
}

InterfaceToWindowControl::~InterfaceToWindowControl() = default;

WindowBackend::Missing InterfaceToWindowControl::missing() const
{
    return WindowBackend::Missing::Nothing;
}

std::optional<QRect> InterfaceToWindowControl::apply(const WindowTask& task)
{
    const QString logged = WindowRecordFilter::forLog(task.title);
    qCDebug(lcWindowControl) << Q_FUNC_INFO << "entry, target window title:" << logged;
    const bool byProgram = task.match == WindowTask::Match::Program;
    if (task.title.isEmpty() && !byProgram) {
        qCDebug(lcWindowControl).nospace() << Q_FUNC_INFO << " target window title:[" << logged << "] is empty!";
        return std::nullopt;
    }
    if (!findTarget(task))
        return std::nullopt;
    const QString target = targetWindowTitle;
    const QRect found(targetWindowPosition, targetWindowSize);
    switch (task.operation) {
    case WindowTask::Minimise:
        qCDebug(lcWindowControl) << Q_FUNC_INFO << "minimize window";
        minimunTargetWindow(target);
        return found;
    case WindowTask::Maximise:
        qCDebug(lcWindowControl) << Q_FUNC_INFO << "maximize window";
        maximunTargetWindow(target);
        return found;
    case WindowTask::Close:
        qCDebug(lcWindowControl) << Q_FUNC_INFO << "close window";
        closeTargetWindow(target);
        return found;
    case WindowTask::Resize:
        return resizeTarget(target, task.rect);
    }
    return std::nullopt;
}

bool InterfaceToWindowControl::findTarget(const WindowTask& task)
{
    if (task.match == WindowTask::Match::Program)
        return findProgramWindow(task);
    const QList<TovWindowControl::WindowsInfo> infos = getAllWindowInfos();
    if (getIndexOfWindowInfos(infos, task.title) >= 0) {
        getTargetWindowInformation(task.title);
        return true;
    }
    qCDebug(lcWindowControl) << Q_FUNC_INFO
                             << "target window title is empty, find the only one window by process name:"
                             << task.process;
    QStringList titles;
    for (const TovWindowControl::WindowsInfo& info : getAllWindowInfos()) {
        qCDebug(lcWindowControl) << Q_FUNC_INFO << "titlet:" << WindowRecordFilter::forLog(info.title)
                                 << "process name:" << info.processName;
        if (info.processName == task.process)
            titles << info.title;
    }
    if (titles.size() != 1) {
        qCDebug(lcWindowControl) << Q_FUNC_INFO << "cannot find specific window, count:" << titles.size();
        return false;
    }
    getTargetWindowInformation(titles.first());
    qCDebug(lcWindowControl) << Q_FUNC_INFO << "find window title:" << WindowRecordFilter::forLog(targetWindowTitle)
                             << "by process name:" << task.process;
    return true;
}

// The first window listed whose app id is the task's, else the first of its process:
// whatever its title is now.
bool InterfaceToWindowControl::findProgramWindow(const WindowTask& task)
{
    const QList<TovWindowControl::WindowsInfo> infos = getAllWindowInfos();
    const auto first = [&](auto matches) { return std::find_if(infos.cbegin(), infos.cend(), matches); };
    auto found = infos.cend();
    if (!task.appId.isEmpty())
        found = first([&](const TovWindowControl::WindowsInfo& info) { return info.appId == task.appId; });
    if (found == infos.cend() && !task.process.isEmpty())
        found = first([&](const TovWindowControl::WindowsInfo& info) { return info.processName == task.process; });
    if (found == infos.cend()) {
        qCInfo(lcWindowControl) << "no window of program" << task.appId << task.process << "is open";
        return false;
    }
    getTargetWindowInformation(found->title);
    qCDebug(lcWindowControl) << Q_FUNC_INFO << "window of program" << task.appId << task.process << ":"
                             << WindowRecordFilter::forLog(targetWindowTitle);
    return true;
}

// Size, position, the platform's hook, then the frame read again; repeated while the
// window does not show the frame asked for. A request without a size leaves the size
// alone rather than shrinking the window to nothing.
std::optional<QRect> InterfaceToWindowControl::resizeTarget(const QString& title, const QRect& requested)
{
    const QSize size = requested.size();
    const QPoint position = requested.topLeft();
    const bool sizeGiven = !size.isEmpty();
    int hookCalls = 0;
    for (int attempt = 0; attempt < WindowTask::kResizeAttempts; ++attempt) {
        qCDebug(lcWindowControl) << Q_FUNC_INFO << "current size:" << size << "target size:" << targetWindowSize;
        if (sizeGiven)
            setTargetWindowSize(title, size);
        qCDebug(lcWindowControl) << Q_FUNC_INFO << "current position:" << position << "target position:"
                                 << targetWindowPosition;
        setTargetWindowLeftTopPosition(title, position);
        const int calls = attempt == 0 ? WindowTask::kHookCallsFirstAttempt : WindowTask::kHookCallsLaterAttempt;
        for (int i = 0; i < calls; ++i) {
            qCDebug(lcWindowControl) << Q_FUNC_INFO << "retry resize:" << ++hookCalls;
            resizeTargetWindow(title);
        }
        getAllWindowInfos();
        getTargetWindowInformation(title);
        if (targetWindowTitle.isEmpty()) {
            qCWarning(lcWindowControl) << Q_FUNC_INFO << "window" << WindowRecordFilter::forLog(title) << "has gone";
            return std::nullopt;
        }
        const QRect frame(targetWindowPosition, targetWindowSize);
        if ((!sizeGiven || frame.size() == size) && frame.topLeft() == position) {
            qCDebug(lcWindowControl) << Q_FUNC_INFO << "window" << WindowRecordFilter::forLog(title) << "has frame" << frame << "after"
                                     << attempt + 1 << "attempts";
            return frame;
        }
        if (attempt == WindowTask::kResizeAttempts - 1) {
            qCWarning(lcWindowControl) << Q_FUNC_INFO << "window" << WindowRecordFilter::forLog(title) << "kept frame" << frame << "instead of"
                                       << QRect(position, sizeGiven ? size : frame.size()) << "after"
                                       << WindowTask::kResizeAttempts << "attempts";
            return frame;
        }
    }
    return std::nullopt;
}
