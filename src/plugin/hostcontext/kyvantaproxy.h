#pragma once

#include <QObject>
#include <QString>

// Process-wide holder of what the host passed to init: the local server's port and
// the configuration directory. Plain public data, written by init, read by anyone.
class KyVantaProxy : public QObject
{
    Q_OBJECT
public:
    static KyVantaProxy* getInstance();

    int port = 0;
    QString configDir;

private:
    KyVantaProxy() = default;
};
