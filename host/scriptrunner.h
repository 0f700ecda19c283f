#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QMetaObject>
#include <QPointer>
#include <QString>

class Deck;
class QEventLoop;
class HostSession;
class RecordChannelReader;

// Runs a headless script: a JSON array of steps, each {"do": ..., ...}, in order.
// Every step that fails prints an "error" line; the run goes on with the next one.
// A multi-action key prints what each of its steps recorded as the step ends, and a
// "done" line at the end of its run; "press" waits for that end.
class ScriptRunner
{
public:
    static constexpr qint64 kMaxScriptBytes = 16 * 1024 * 1024;

    // After each step it prints what the package recorded in `records`, if given.
    explicit ScriptRunner(HostSession& session, RecordChannelReader* records = nullptr);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // The steps of a script's bytes, or false and why not.
    static bool parse(const QByteArray& bytes, QJsonArray* steps, QString* why);
    // Returns false when at least one step failed.
    bool run(const QJsonArray& steps);
    // Ends the run: the step under way (a wait, a press) ends now, no other starts, and
    // run() prints `why` as the error of the step it stopped.
    void stop(const QString& why);

private:
    bool runStep(const QJsonObject& step, QString* error);
    bool assign(const QJsonObject& step, QString* error);
    bool assignSteps(int slot, const QJsonObject& step, QString* error);
    bool press(const QJsonObject& step, QString* error);
    bool typeInto(const QJsonObject& step, bool clear, QString* error);
    bool render(const QJsonObject& step, QString* error);
    bool pickIcon(const QJsonObject& step, QString* error);
    bool wait(const QJsonObject& step, QString* error);
    bool page(const QJsonObject& step, QString* error);
    bool move(const QJsonObject& step, QString* error);
    bool slotOf(const QJsonObject& step, int* slot, QString* error, const char* name = "slot") const;
    bool stored(QString* error);
    void printRecords();

    Deck& deck();
    HostSession& m_session;
    RecordChannelReader* m_records;
    QMetaObject::Connection m_stepEnded;
    QMetaObject::Connection m_runEnded;
    QPointer<QEventLoop> m_loop;  // the wait or press under way
    QString m_stopped;
};
