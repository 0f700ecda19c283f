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

#include <QFileInfo>
#include <QMimeDatabase>

namespace {
const char* const kBackendVariable = "SYSTEMDLL_LAUNCH_BACKEND";
const QString kDesktopEntryType = QStringLiteral("application/x-desktop");
const QString kBundleSuffix = QStringLiteral("app");

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
    else
        openDocument(path);
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
    return type.inherits(kDesktopEntryType) ? Kind::Application : Kind::Document;
#endif
}

QString PathLauncher::kindName(Kind kind)
{
    return kind == Kind::Application ? QStringLiteral("application") : QStringLiteral("document");
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
