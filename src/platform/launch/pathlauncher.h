#pragma once

#include <QString>
#include <memory>

class QUrl;

// Opens a path the way the desktop does: an application starts, a program runs, any
// other file or folder opens with its default application; and opens addresses. One
// process-wide service, chosen at first use: SYSTEMDLL_LAUNCH_BACKEND=record forces
// the recording backend; otherwise the platform's own (GIO and the desktop services on
// Linux, launch services on macOS).
class PathLauncher
{
public:
    enum class Kind { Document, Application, Executable, Url };

    virtual ~PathLauncher() = default;
    virtual QString name() const = 0;

    // Opens `path` by its kind. The caller has checked that something exists there.
    void open(const QString& path);
    // Hands an address to the desktop's handler for its scheme.
    virtual void openUrl(const QUrl& url);

    // An application is a desktop entry (by its MIME type) on Linux and a ".app"
    // bundle on macOS; an executable is a program or script we may run (execute bit,
    // and a binary or a "#!" line); everything else is a document.
    static Kind kindOf(const QString& path);
    static QString kindName(Kind kind);

    static PathLauncher* instance();
    // Replaces the process-wide service (tests, hosts with their own choice).
    static void setInstance(std::unique_ptr<PathLauncher> service);
    // A backend by its name ("record"); empty or unknown: the platform's own.
    static std::unique_ptr<PathLauncher> create(const QString& backend);

protected:
    PathLauncher() = default;
    Q_DISABLE_COPY(PathLauncher)

    virtual void launchApplication(const QString& path) = 0;
    virtual void openDocument(const QString& path) = 0;
    // Runs the program itself, without a shell, with no arguments, in its folder.
    virtual void runExecutable(const QString& path);
};
