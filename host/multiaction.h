#pragma once

#include "actioninterface.h"
#include "packageinterface.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QVector>
#include <functional>

class MultiActionFace;

// A key that runs several steps in order: each step an action of the package (an
// action object of its own, told it is a step before init) or a delay. Its profile
// entry is {"slot", "category": kCategory, "target", "title", "icon", "steps": [...]}
// where an action step is stored as a single key's entry is ({"category", "target",
// "payload" | "preset"}) and a delay as a number of milliseconds. A step that cannot
// be loaded stays in the list as it was stored and is skipped when the key runs.
//
// A run never blocks: every step starts from the event loop, and a delay is a timer.
class MultiAction : public QObject
{
    Q_OBJECT
public:
    static constexpr const char* kCategory = "com.corvane.vantahost.multiaction";
    static constexpr int kMaxSteps = 100;
    static constexpr int kMaxDelayMs = 600000;

    // Runs its argument once an action step may send keys: where the host keeps the
    // focus out of its own windows, after handing it back. Unset: at once.
    using StepGate = std::function<void(std::function<void()>)>;

    struct Step
    {
        QJsonValue stored;                        // as in the profile
        host::ActionInterface* action = nullptr;  // an action step that loaded
        int delayMs = -1;                         // a delay step
        QString problem;                          // why the step cannot run
    };

    static bool isMultiAction(const QJsonObject& entry);
    // Why `entry` cannot be a multi-action key at all; empty when it can.
    static QString unusable(const QJsonObject& entry);
    // A key with no steps yet.
    static QJsonObject newEntry(int slot, const QString& target, const QString& title);
    // The same key with new targets for itself and its action steps: a copy is a key of its own.
    static QJsonObject withNewTargets(QJsonObject entry, const std::function<QString()>& newTarget);

    explicit MultiAction(const QJsonObject& entry, QObject* parent = nullptr);
    ~MultiAction() override;

    // Creates the action of every step (`n` goes to makeWidget); reports come from here on.
    void load(host::PackageInterface* package, int n);
    void setStepGate(StepGate gate) { m_gate = std::move(gate); }

    // The entry as it is to be stored: the steps with their last reported settings.
    QJsonObject entry() const;
    QString title() const;
    int stepCount() const { return int(m_steps.size()); }
    const Step& step(int index) const { return m_steps.at(index); }
    // One line per step that cannot run.
    QStringList problems() const;
    QWidget* face() const;

    bool isRunning() const { return m_running; }
    // The step running now; -1 when idle.
    int currentStep() const { return m_running ? m_current : -1; }
    void showDown(bool down);
    // Why a press is refused now: the run under way; empty when idle.
    QString busyReason() const;
    // Starts a run; false, with why, while one runs.
    bool start(QString* error);

signals:
    // A step's action reported its settings; entry() has them.
    void settingsReported(const QString& target, const QJsonObject& payload);
    void stepStarted(int index);
    // Also after a step that could not run.
    void stepFinished(int index);
    void stepFailed(int index, const QString& why);
    void finished(qint64 ms);

private slots:
    void onEventSent(const QJsonObject& event);
    void next();

private:
    void runAction(int index);
    void finish();
    void destroyActions();

    QJsonObject m_entry;
    QVector<Step> m_steps;
    QPointer<MultiActionFace> m_face;  // no parent of ours: a key cell shows it
    StepGate m_gate;
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_current = -1;
    bool m_running = false;
    bool m_inDelay = false;
};
