#pragma once

#include <QDBusConnection>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class KWinAnswerReceiver;

// Runs JavaScript inside KWin over the session bus: each script is written to a private
// folder, loaded under a name of its own (loadScript), run, and unloaded. A script
// answers with answer(value), which reaches us through callDBus on a bus name this
// object owns (unique per process and object). Values go into a script as JSON, read
// there as `input.args`; nothing of them becomes script source.
class KWinScripting
{
public:
    // Gets every answer of a script as it arrives; true when it is the last one wanted.
    using Take = std::function<bool(const QJsonDocument&)>;

    // Null when KWin's scripting does not answer on bus or our answers cannot reach us;
    // *problem then says why.
    static std::unique_ptr<KWinScripting> open(const QDBusConnection& bus, QString* problem);
    ~KWinScripting();

    // Runs body once and hands its answers to take until take has enough: waits for the
    // first answer up to a second (user input waits meanwhile), then up to moreMs for
    // the rest; unloads it either way. False, with a warning naming what, when nothing
    // was answered.
    bool run(const char* what, const QString& body, const QJsonObject& args, const Take& take, int moreMs = 0);
    // Loads body to stay loaded until stop() or the end of this object; each answer goes
    // to take. False when KWin would not run it, with why in the debug log: the caller
    // says what that means.
    bool start(const char* what, const QString& body, const QJsonObject& args, std::function<void(const QJsonDocument&)> take);
    void stop();

    // The script's source: the helpers every script may use, the input as a JSON
    // literal, then body.
    QString source(const QString& token, const QString& body, const QJsonObject& args) const;

private:
    struct Waiting
    {
        QString token;
        const Take* take = nullptr;
        Waiting* outer = nullptr;  // a wait this one runs inside
        bool answered = false;
        bool enough = false;
    };

    KWinScripting(const QDBusConnection& bus, const QString& service, const QString& path,
                  std::unique_ptr<KWinAnswerReceiver> receiver);
    void received(const QString& token, const QString& json);
    // Writes, loads and runs a script under token; what went wrong, if anything.
    QString load(const QString& token, const QString& body, const QJsonObject& args);
    void unload(const QString& token);
    QString nextToken();

    QDBusConnection m_bus;
    QString m_service;  // the name our answers are sent to
    QString m_path;
    std::unique_ptr<KWinAnswerReceiver> m_receiver;
    QTemporaryDir m_folder;
    QString m_scriptPrefix;  // where KWin shows a loaded script's object, once known
    int m_sequence = 0;
    Waiting* m_waiting = nullptr;  // the innermost run() waiting for answers, if any
    QString m_standing;            // the token of the script start() loaded
    std::function<void(const QJsonDocument&)> m_standingTake;
};
