#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <functional>

// The test's program (PASTE_TARGET) whose focused line edit prints its state as one JSON
// object per line: "text", "returns" (Enter presses), "active".
// Drives it through its stdin and stdout.
class PasteTarget
{
public:
    PasteTarget() { m_process.start(QStringLiteral(PASTE_TARGET), QStringList{}); }
    ~PasteTarget()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(2000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }

    void send(const QByteArray& command) { m_process.write(command + '\n'); }
    qint64 processId() const { return m_process.processId(); }
    // Reads state lines until one matches, or the timeout passes.
    bool waitFor(const std::function<bool(const QJsonObject&)>& matches, int ms = 5000)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            while (m_process.canReadLine()) {
                m_state = QJsonDocument::fromJson(m_process.readLine()).object();
                if (matches(m_state))
                    return true;
            }
            m_process.waitForReadyRead(50);
            QCoreApplication::processEvents();
        }
        return false;
    }

    bool waitActive()
    {
        send("focus");
        return waitFor([](const QJsonObject& s) { return s["active"].toBool(); });
    }

    QJsonObject state() const { return m_state; }

private:
    QProcess m_process;
    QJsonObject m_state;
};
