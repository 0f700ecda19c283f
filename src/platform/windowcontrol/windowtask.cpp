#include "windowtask.h"

#include "windowrecordfilter.h"

QDebug operator<<(QDebug debug, const WindowTask& task)
{
    const QDebugStateSaver saver(debug);
    debug.nospace() << "WindowTask(" << WindowRecordFilter::forLog(task.title) << ", " << task.process << ", " << int(task.operation) << ", "
                    << task.rect;
    if (task.match == WindowTask::Match::Program)
        debug << ", any window of " << task.appId;
    debug << ')';
    return debug;
}
