#include "multiaction.h"

#include "actioncalls.h"
#include "hostlog.h"
#include "multiactionface.h"

#include <QWidget>

namespace {
const char* const kSteps = "steps";

// A delay as stored: a whole number of milliseconds in range, else -1.
int delayOf(const QJsonValue& value)
{
    const int ms = value.toInt(-1);
    return value.isDouble() && value.toDouble() == double(ms) && ms >= 0 && ms <= MultiAction::kMaxDelayMs ? ms : -1;
}

// A step's action goes with its widgets. Its face was never shown; its inspector goes
// with it wherever it is shown.
void deleteAction(host::ActionInterface* action)
{
    if (QWidget* face = action->pluginWidget())
        face->setParent(nullptr);
    delete action;
}
} // namespace

bool MultiAction::isMultiAction(const QJsonObject& entry)
{
    return entry.value("category").toString() == QLatin1String(kCategory);
}

QString MultiAction::unusable(const QJsonObject& entry)
{
    if (!entry.value("target").isString())
        return QStringLiteral("the multi-action has no \"target\" string");
    if (!entry.value(kSteps).isArray())
        return QStringLiteral("the multi-action has no \"steps\" array");
    if (entry.value(kSteps).toArray().size() > kMaxSteps)
        return QStringLiteral("the multi-action has more than %1 steps").arg(kMaxSteps);
    for (const char* key : {"title", "icon"}) {
        if (entry.contains(key) && !entry.value(key).isString())
            return QStringLiteral("the multi-action's \"%1\" is not a string").arg(QLatin1String(key));
    }
    return {};
}

QJsonObject MultiAction::newEntry(int slot, const QString& target, const QString& title)
{
    return {{"slot", slot}, {"category", kCategory}, {"target", target}, {"title", title}, {kSteps, QJsonArray()}};
}

QJsonObject MultiAction::withNewTargets(QJsonObject entry, const std::function<QString()>& newTarget)
{
    entry.insert("target", newTarget());
    QJsonArray steps = entry.value(kSteps).toArray();
    for (auto it = steps.begin(); it != steps.end(); ++it) {
        QJsonObject step = it->toObject();
        if (step.value("target").isString()) {
            step.insert("target", newTarget());
            *it = step;
        }
    }
    if (entry.value(kSteps).isArray())
        entry.insert(kSteps, steps);
    return entry;
}

MultiAction::MultiAction(const QJsonObject& entry, QObject* parent)
    : QObject(parent)
    , m_entry(entry)
    , m_face(new MultiActionFace)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);  // a delay never ends early
    connect(&m_timer, &QTimer::timeout, this, &MultiAction::next);
    m_face->setTitle(title());
    m_face->setIcon(entry.value("icon").toString());
}

MultiAction::~MultiAction()
{
    if (m_running)
        qCInfo(lcHost).noquote() << QStringLiteral("multi-action \"%1\" stopped at step %2 of %3: the key was changed or put away")
                                        .arg(title()).arg(m_current + 1).arg(stepCount());
    destroyActions();
    if (m_face) {
        m_face->setParent(nullptr);  // a key cell may still hold it
        delete m_face;
    }
}

void MultiAction::destroyActions()
{
    for (Step& step : m_steps) {
        if (step.action)
            deleteAction(step.action);
        step.action = nullptr;
    }
}

void MultiAction::load(host::PackageInterface* package, int n)
{
    const QJsonArray steps = m_entry.value(kSteps).toArray();
    m_steps.reserve(steps.size());
    for (const QJsonValue& value : steps) {
        m_steps.append(Step{value, nullptr, -1, QString()});
        Step& step = m_steps.last();
        if (value.isDouble()) {
            step.delayMs = delayOf(value);
            if (step.delayMs < 0)
                step.problem = QStringLiteral("a delay must be a whole number of 0 to %1 ms").arg(kMaxDelayMs);
            continue;
        }
        if (!value.isObject()) {
            step.problem = QStringLiteral("it is neither an action nor a delay");
            continue;
        }
        const QJsonObject stored = value.toObject();
        QString error;
        host::ActionInterface* action = ActionCalls::create(package, stored, n, &error);
        if (!action) {
            step.problem = error;
            continue;
        }
        // Set before init: the action's inspector then locks its title, icon and text settings.
        action->actionMode = true;
        step.action = action;
        QObject::connect(action, host::kEventSentSignal, this, SLOT(onEventSent(QJsonObject)));
        const int index = int(m_steps.size()) - 1;
        if (!action->init(stored.value("target").toString(), ActionCalls::paramsOf(stored))) {
            Step& refused = m_steps[index];
            refused.problem = QStringLiteral("action \"%1\" refused its settings").arg(stored.value("category").toString());
            deleteAction(refused.action);
            refused.action = nullptr;
            refused.stored = value;  // as it was, whatever it reported
        }
    }
    if (m_face) {
        m_face->setStepCount(stepCount());
        m_face->setFaulty(!problems().isEmpty());
    }
}

QJsonObject MultiAction::entry() const
{
    // Steps not loaded yet (a step reports while it loads) stay as they were given.
    QJsonArray steps = m_entry.value(kSteps).toArray();
    for (int i = 0; i < m_steps.size() && i < steps.size(); ++i)
        steps[i] = m_steps[i].stored;
    QJsonObject entry = m_entry;
    entry.insert(kSteps, steps);
    return entry;
}

QString MultiAction::title() const
{
    return m_entry.value("title").toString();
}

QStringList MultiAction::problems() const
{
    QStringList problems;
    for (int i = 0; i < stepCount(); ++i) {
        if (!m_steps[i].problem.isEmpty())
            problems << QStringLiteral("step %1: %2").arg(i + 1).arg(m_steps[i].problem);
    }
    return problems;
}

QWidget* MultiAction::face() const
{
    return m_face;
}

void MultiAction::onEventSent(const QJsonObject& event)
{
    QJsonObject payload;
    if (!ActionCalls::reportedSettings(event, &payload))
        return;
    for (Step& step : m_steps) {
        if (!step.action || step.action != sender())
            continue;
        QJsonObject stored = step.stored.toObject();
        stored.insert("payload", payload);
        stored.remove("preset");
        step.stored = stored;
        emit settingsReported(stored.value("target").toString(), payload);
        return;
    }
}

void MultiAction::showDown(bool down)
{
    if (m_face)
        m_face->setDown(down);
}

QString MultiAction::busyReason() const
{
    if (!m_running)
        return {};
    return QStringLiteral("\"%1\" is still running (step %2 of %3); this press is ignored")
        .arg(title()).arg(qMax(m_current, 0) + 1).arg(stepCount());
}

bool MultiAction::start(QString* error)
{
    if (m_running) {
        *error = busyReason();
        return false;
    }
    m_running = true;
    m_inDelay = false;
    m_current = -1;
    m_clock.start();
    // The first step starts from the event loop too: the press that started the run returns first.
    m_timer.start(0);
    return true;
}

void MultiAction::next()
{
    if (m_inDelay) {
        m_inDelay = false;
        emit stepFinished(m_current);
    }
    ++m_current;
    if (m_current >= stepCount()) {
        finish();
        return;
    }
    const int index = m_current;
    if (m_face)
        m_face->setProgress(index);
    const QPointer<MultiAction> alive(this);
    emit stepStarted(index);
    if (!alive)
        return;
    const Step& step = m_steps[index];
    if (!step.action && step.delayMs >= 0) {
        m_inDelay = true;
        m_timer.start(step.delayMs);
        return;
    }
    if (!step.action) {
        qCWarning(lcHost).noquote() << QStringLiteral("multi-action \"%1\": step %2 of %3 cannot run (%4); the run goes on")
                                           .arg(title()).arg(index + 1).arg(stepCount()).arg(step.problem);
        emit stepFailed(index, step.problem);
        emit stepFinished(index);
        if (alive)
            m_timer.start(0);
        return;
    }
    if (!m_gate)
        return runAction(index);
    // The user may have come back to the host since the press: its keys must not land here.
    m_gate([alive, index] {
        if (alive && alive->m_running && alive->m_current == index)
            alive->runAction(index);
    });
}

// The step is pressed as its own key would be; its face is not shown.
void MultiAction::runAction(int index)
{
    const QPointer<MultiAction> alive(this);
    host::ActionInterface* action = m_steps[index].action;
    const QString target = m_steps[index].stored.toObject().value("target").toString();
    for (const QString& type : {ActionCalls::kKeyDown, ActionCalls::kAppTriggered, ActionCalls::kKeyUp}) {
        QJsonObject result;
        action->eventReceived(ActionCalls::envelope(target, type), result);
        if (!alive)
            return;  // the key went while its step ran
    }
    emit stepFinished(index);
    if (alive)
        m_timer.start(0);
}

void MultiAction::finish()
{
    m_running = false;
    if (m_face)
        m_face->setProgress(-1);
    emit finished(m_clock.elapsed());
}
