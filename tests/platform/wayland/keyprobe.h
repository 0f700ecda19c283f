#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QVector>

#include <functional>

// A program of the tests' own that prints one JSON object per line, its lines collected.
class JsonLineProcess
{
public:
    JsonLineProcess(const QString& program, const QStringList& arguments, const QProcessEnvironment& env)
    {
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program, arguments);
    }
    ~JsonLineProcess()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(2000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }

    void send(const QByteArray& command) { m_process.write(command + '\n'); }
    // Reads lines until one matches (a line already read counts), or the time is up.
    bool waitFor(const std::function<bool(const QJsonObject&)>& matches, int ms = 5000)
    {
        for (const QJsonObject& line : qAsConst(m_lines)) {
            if (matches(line))
                return true;
        }
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            while (m_process.canReadLine()) {
                m_lines << QJsonDocument::fromJson(m_process.readLine()).object();
                if (matches(m_lines.last()))
                    return true;
            }
            m_process.waitForReadyRead(20);
            QCoreApplication::processEvents();
        }
        return false;
    }
    // The lines printed so far (since the last forget()).
    const QVector<QJsonObject>& lines()
    {
        while (m_process.canReadLine())
            m_lines << QJsonDocument::fromJson(m_process.readLine()).object();
        return m_lines;
    }
    void forget() { m_lines.clear(); }
    // What it printed since the last forget(), for a failure message.
    QByteArray transcript() const
    {
        QByteArray text;
        for (const QJsonObject& line : m_lines)
            text += QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
        return text;
    }

protected:
    QProcess m_process;

private:
    QVector<QJsonObject> m_lines;
};

// The keyprobe program (KEY_PROBE) as a Wayland client of the display at `display`.
class KeyProbe : public JsonLineProcess
{
public:
    explicit KeyProbe(const QString& display)
        : JsonLineProcess(QStringLiteral(KEY_PROBE), {}, environment(display))
    {
    }

    bool waitActive()
    {
        return waitFor([](const QJsonObject& o) { return o[QLatin1String("active")].toBool(); }, 10000);
    }
    // The first key press of `code` since the last forget(); its modifiers, or -1.
    int modifiersOfPress(int code, int ms = 5000)
    {
        QJsonObject found;
        waitFor([&](const QJsonObject& o) {
            const bool hit = o[QLatin1String("key")] == QLatin1String("press") && o[QLatin1String("code")] == code;
            if (hit)
                found = o;
            return hit;
        }, ms);
        return found.isEmpty() ? -1 : found[QLatin1String("mods")].toInt();
    }
    bool sawRelease(int code, int ms = 5000)
    {
        return waitFor([&](const QJsonObject& o) {
            return o[QLatin1String("key")] == QLatin1String("release") && o[QLatin1String("code")] == code;
        }, ms);
    }
    // Asks the client what it would paste now, until it is `expected` (the caller's event
    // loop serves what it offers meanwhile).
    bool clipboardIs(const QString& expected)
    {
        for (int i = 0; i < 50; ++i) {
            forget();
            send("clipboard");
            QString seen;
            waitFor([&](const QJsonObject& o) {
                seen = o[QLatin1String("clipboard")].toString();
                return o.contains(QLatin1String("clipboard"));
            });
            if (seen == expected)
                return true;
            QDeadlineTimer pause(20);
            while (!pause.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return false;
    }

private:
    static QProcessEnvironment environment(const QString& display)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), display);
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));  // Qt's Wayland plugin keeps a few objects
        return env;
    }
};
