#include "emptywindowbackend.h"

#include "platform/windowcontrol/windowcontrollog.h"

namespace {

bool refuse(const char* operation, int index)
{
    qCWarning(lcWindowControl) << "no window system:" << operation << "of window" << index << "ignored";
    return false;
}

} // namespace

QString EmptyWindowBackend::name() const
{
    return QStringLiteral("none");
}

QList<WindowBackend::Window> EmptyWindowBackend::enumerate()
{
    return {};
}

bool EmptyWindowBackend::setSize(int index, const QSize&)
{
    return refuse("resize", index);
}

bool EmptyWindowBackend::setPosition(int index, const QPoint&)
{
    return refuse("move", index);
}

bool EmptyWindowBackend::close(int index)
{
    return refuse("close", index);
}

bool EmptyWindowBackend::maximize(int index)
{
    return refuse("maximise", index);
}

bool EmptyWindowBackend::minimize(int index)
{
    return refuse("minimise", index);
}
