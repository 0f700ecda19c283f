#include "fuzzsupport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>

namespace {
QTemporaryDir* g_scratch = nullptr;

void quiet(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type == QtFatalMsg)
        abort();
}
}

void FuzzSupport::start()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SYSTEMDLL_KEYBOARD_BACKEND", "record");
    qputenv("SYSTEMDLL_MEDIA_BACKEND", "record");
    qputenv("SYSTEMDLL_WINDOWCONTROL_BACKEND", "none");
    if (qEnvironmentVariableIntValue("FUZZ_VERBOSE") == 0)
        qInstallMessageHandler(quiet);
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives as long as the process
    g_scratch = new QTemporaryDir;
    atexit([] { delete g_scratch; });
}

QString FuzzSupport::scratch(const QString& name)
{
    return g_scratch->filePath(name);
}

QString FuzzSupport::writeScratch(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = scratch(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        abort();
    return path;
}

void FuzzSupport::settle(int ms)
{
    const QDeadlineTimer deadline(ms);
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(deadline.remainingTime()));
    while (!deadline.hasExpired());
}
