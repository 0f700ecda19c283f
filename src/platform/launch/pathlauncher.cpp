#include "pathlauncher.h"

#include "launchlog.h"
#include "platform/serviceslot.h"
#include "record/recordingpathlauncher.h"

#if defined(SYSTEMDLL_HAVE_GIO)
#include "gio/giopathlauncher.h"
#endif
#if defined(Q_OS_MACOS)
#include "mac/macpathlauncher.h"
#endif

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

namespace {
const char* const kBackendVariable = "SYSTEMDLL_LAUNCH_BACKEND";
const QString kDesktopEntryType = QStringLiteral("application/x-desktop");
const QString kBundleSuffix = QStringLiteral("app");

// A file with the execute bit is run only when it is a program: a binary (ELF, which
// AppImages are too) or a script with its interpreter line. Files on a FAT or NTFS
// mount all carry the bit; a PDF there is still a document.
bool isProgram(const QFileInfo& info)
{
    if (!info.isFile() || !info.isExecutable())
        return false;
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4);
    return head == QByteArray("\x7f" "ELF", 4) || head.startsWith("#!");
}

std::unique_ptr<PathLauncher> platformDefault()
{
#if defined(Q_OS_MACOS)
    return std::make_unique<MacPathLauncher>();
#elif defined(SYSTEMDLL_HAVE_GIO)
    return std::make_unique<GioPathLauncher>();
#else
    qCWarning(lcLaunch) << "no way to open files on this platform: paths are recorded, not opened";
    return std::make_unique<RecordingPathLauncher>();
#endif
}

ServiceSlot<PathLauncher> s_current(kBackendVariable, [](const PathLauncher& service) {
    qCDebug(lcLaunch) << "launch backend:" << service.name();
});
}

void PathLauncher::open(const QString& path)
{
    const Kind kind = kindOf(path);
    qCDebug(lcLaunch) << "[PathLauncher]" << name() << kindName(kind) << path;
    if (kind == Kind::Application)
        launchApplication(path);
    else if (kind == Kind::Executable)
        runExecutable(path);
    else
        openDocument(path);
}

void PathLauncher::openUrl(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

void PathLauncher::runExecutable(const QString& path)
{
    qint64 pid = 0;
    if (!QProcess::startDetached(path, {}, QFileInfo(path).absolutePath(), &pid))
        qCWarning(lcLaunch) << "[PathLauncher] cannot run" << path;
}

PathLauncher::Kind PathLauncher::kindOf(const QString& path)
{
    const QFileInfo info(path);
#if defined(Q_OS_MACOS)
    return info.isDir() && info.suffix() == kBundleSuffix ? Kind::Application : Kind::Document;
#else
    if (!info.isFile())
        return Kind::Document;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    if (type.inherits(kDesktopEntryType))
        return Kind::Application;
    return isProgram(info) ? Kind::Executable : Kind::Document;
#endif
}

QString PathLauncher::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Application:
        return QStringLiteral("application");
    case Kind::Executable:
        return QStringLiteral("executable");
    case Kind::Url:
        return QStringLiteral("url");
    case Kind::Document:
        break;
    }
    return QStringLiteral("document");
}

std::unique_ptr<PathLauncher> PathLauncher::create(const QString& backend)
{
    if (backend == QLatin1String("record"))
        return std::make_unique<RecordingPathLauncher>();
    if (!backend.isEmpty())
        qCWarning(lcLaunch) << "unknown launch backend" << backend << "- using the default";
    return platformDefault();
}

PathLauncher* PathLauncher::instance()
{
    return s_current.instance();
}

void PathLauncher::setInstance(std::unique_ptr<PathLauncher> service)
{
    s_current.setInstance(std::move(service));
}
