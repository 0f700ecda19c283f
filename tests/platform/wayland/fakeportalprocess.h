#pragma once

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QVector>

// The fakeportal program (FAKE_PORTAL) on the bus at `address`, with its printed lines.
class FakePortalProcess
{
public:
    FakePortalProcess(const QString& address, const QStringList& arguments = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(FAKE_PORTAL), arguments);
    }
    ~FakePortalProcess() { stop(); }

    bool waitFor(const char* key, int ms = 5000)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            for (const QJsonObject& line : qAsConst(m_lines)) {
                if (line.contains(QLatin1String(key)))
                    return true;
            }
            m_process.waitForReadyRead(20);
            while (m_process.canReadLine())
                m_lines << QJsonDocument::fromJson(m_process.readLine()).object();
        }
        return false;
    }
    // The values of `key` in the lines printed so far.
    QVariantList values(const char* key)
    {
        while (m_process.canReadLine())
            m_lines << QJsonDocument::fromJson(m_process.readLine()).object();
        QVariantList found;
        for (const QJsonObject& line : qAsConst(m_lines)) {
            if (line.contains(QLatin1String(key)))
                found << line.value(QLatin1String(key)).toVariant();
        }
        return found;
    }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(2000);
    }

private:
    QProcess m_process;
    QVector<QJsonObject> m_lines;
};
