#include "windowtask.h"

QDebug operator<<(QDebug debug, const WindowTask& task)
{
    const QDebugStateSaver saver(debug);
    debug.nospace() << "WindowTask(" << task.title << ", " << task.process << ", " << int(task.operation) << ", "
                    << task.rect << ')';
    return debug;
}
