#include "focussource.h"

#include "hostlog.h"
#include "swayfocussource.h"
#include "x11focussource.h"

#include <QCoreApplication>
#include <QFile>

QString FocusedWindow::name() const
{
    if (!appId.isEmpty())
        return appId;
    return program.isEmpty() ? instance : program;
}

FocusSource* FocusSource::create(QObject* parent)
{
    const QString sway = qEnvironmentVariable("SWAYSOCK");
    if (!sway.isEmpty())
        return new SwayFocusSource(sway, parent);
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        auto* x11 = new X11FocusSource(parent);
        if (x11->connected())
            return x11;
        delete x11;
        return nullptr;  // said why
    }
    qCInfo(lcHost) << "pages do not follow the focused application: neither X11 nor a sway IPC socket (SWAYSOCK)";
    return nullptr;
}

QString FocusSource::programOf(qint64 pid)
{
    if (pid <= 0)
        return {};
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.read(64)).trimmed();
}

bool FocusSource::ours(qint64 pid)
{
    return pid > 0 && pid == QCoreApplication::applicationPid();
}
