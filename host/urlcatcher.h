#pragma once

#include <QObject>
#include <QUrl>

// Sees every URL the package opens through the desktop services. With `launch` off it
// opens nothing; otherwise it hands the URL to the desktop's opener.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    UrlCatcher(bool launch, QObject* parent = nullptr);
    ~UrlCatcher() override;

signals:
    void opened(const QString& url);

public slots:
    void open(const QUrl& url);

private:
    bool m_launch;
};
