#include "urlcatcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace {
// The empty scheme catches addresses without one; QDesktopServices keys handlers by scheme.
const char* const kSchemes[] = {"", "http", "https", "ftp", "file", "mailto", "tel", "sms", "ssh",
                                "smb", "news", "irc", "magnet", "steam", "spotify", "zoommtg", "slack"};
}

UrlCatcher::UrlCatcher(bool launch, QObject* parent)
    : QObject(parent)
    , m_launch(launch)
{
    for (const char* scheme : kSchemes)
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
}

UrlCatcher::~UrlCatcher()
{
    for (const char* scheme : kSchemes)
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void UrlCatcher::open(const QUrl& url)
{
    const QString text = url.toString();
    if (text.trimmed().isEmpty()) {
        emit failed(text, tr("the key has no address"));
        return;
    }
    emit opened(text);
    if (!m_launch)
        return;
    const QString program = QStandardPaths::findExecutable(m_opener);
    if (program.isEmpty()) {
        emit failed(text, tr("%1 is not installed (package xdg-utils)").arg(m_opener));
        return;
    }
    // xdg-open hands the address on and exits; its exit code says whether anything
    // could take it. A browser that xdg-open runs in its place is left running when
    // the host exits.
    auto* process = new QProcess(this);
    process->setProgram(program);
    process->setArguments({text});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    connect(process, &QProcess::errorOccurred, this, [this, process, text](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        emit failed(text, process->errorString());
        process->deleteLater();
    });
    connect(process, &QProcess::finished, this, [this, process, text](int code, QProcess::ExitStatus status) {
        if (status == QProcess::NormalExit && code == 0)
            emit launched(text);
        else
            emit failed(text, tr("no application opens it (%1 exit code %2)").arg(m_opener).arg(code));
        process->deleteLater();
    });
    process->start();
}
