#pragma once

#include <QObject>
#include <QUrl>

// Sees every URL the package opens through the desktop services. With `launch` off it
// opens nothing; otherwise it hands the URL to the desktop's opener (xdg-open) and
// says whether that worked.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    UrlCatcher(bool launch, QObject* parent = nullptr);
    ~UrlCatcher() override;

    // The program that opens URLs; xdg-open unless a test names another.
    void setOpener(const QString& program) { m_opener = program; }

signals:
    // The package asked for `url` (with launch off: all that happens).
    void opened(const QString& url);
    // The desktop's opener took it and finished without error.
    void launched(const QString& url);
    // Nothing was opened, and why.
    void failed(const QString& url, const QString& why);

public slots:
    void open(const QUrl& url);

private:
    bool m_launch;
    QString m_opener = QStringLiteral("xdg-open");
};
