#pragma once

#include "keyprobe.h"

#include <QVariantList>

// The fakeportal program (FAKE_PORTAL) on the bus at `address`, with its printed lines.
class FakePortalProcess : public JsonLineProcess
{
public:
    FakePortalProcess(const QString& address, const QStringList& arguments = {})
        : JsonLineProcess(QStringLiteral(FAKE_PORTAL), arguments, environment(address))
    {
    }
    ~FakePortalProcess() { stop(); }

    bool waitFor(const char* key, int ms = 5000)
    {
        return JsonLineProcess::waitFor([key](const QJsonObject& line) { return line.contains(QLatin1String(key)); }, ms);
    }
    // The values of `key` in the lines printed so far.
    QVariantList values(const char* key)
    {
        QVariantList found;
        for (const QJsonObject& line : lines()) {
            if (line.contains(QLatin1String(key)))
                found << line.value(QLatin1String(key)).toVariant();
        }
        return found;
    }
    // Gone at once, as a portal that leaves the bus.
    void stop()
    {
        m_process.kill();
        m_process.waitForFinished(2000);
    }

private:
    static QProcessEnvironment environment(const QString& address)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        return env;
    }
};
