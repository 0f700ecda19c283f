#include "scriptrunner.h"

#include "deck.h"
#include "keyeventlog.h"
#include "outputwriter.h"
#include "profilestore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QWidget>

namespace {

bool isInteger(const QJsonValue& value)
{
    return value.isDouble() && value.toDouble() == double(value.toInt());
}

void sendKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

int keyFor(QChar c)
{
    const QChar upper = c.toUpper();
    if (upper.unicode() < 0x80 && upper.isPrint())
        return upper.unicode();
    return Qt::Key_unknown;
}

} // namespace

ScriptRunner::ScriptRunner(Deck& deck, ProfileStore& profile)
    : m_deck(deck)
    , m_profile(profile)
{
}

bool ScriptRunner::run(const QJsonArray& steps)
{
    bool allPassed = true;
    for (int i = 0; i < steps.size(); ++i) {
        QString error;
        const bool passed = steps[i].isObject() ? runStep(steps[i].toObject(), &error)
                                                : (error = QStringLiteral("a step must be an object"), false);
        QCoreApplication::processEvents();
        flushKeys();
        if (!passed) {
            allPassed = false;
            OutputWriter::line({{"kind", "error"}, {"step", i}, {"message", error}});
        }
    }
    return allPassed;
}

bool ScriptRunner::slotOf(const QJsonObject& step, int* slot, QString* error) const
{
    if (!isInteger(step.value("slot"))) {
        *error = QStringLiteral("\"slot\" must be an integer");
        return false;
    }
    *slot = step.value("slot").toInt();
    return true;
}

bool ScriptRunner::runStep(const QJsonObject& step, QString* error)
{
    const QString what = step.value("do").toString();
    int slot = -1;
    if (what == QLatin1String("assign"))
        return assign(step, error);
    if (what == QLatin1String("event")) {
        if (!step.value("type").isString()) {
            *error = QStringLiteral("\"type\" must be a string");
            return false;
        }
        return slotOf(step, &slot, error) && m_deck.sendEvent(slot, step.value("type").toString(), error);
    }
    if (what == QLatin1String("press"))
        return slotOf(step, &slot, error) && m_deck.press(slot, error);
    if (what == QLatin1String("type") || what == QLatin1String("clear"))
        return typeInto(step, what == QLatin1String("clear"), error);
    if (what == QLatin1String("wait")) {
        if (!isInteger(step.value("ms")) || step.value("ms").toInt() < 0) {
            *error = QStringLiteral("\"ms\" must be a non-negative integer");
            return false;
        }
        const QDeadlineTimer deadline(step.value("ms").toInt());
        while (!deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
        return true;
    }
    if (what == QLatin1String("render"))
        return render(step, error);
    if (what == QLatin1String("icon"))
        return pickIcon(step, error);
    if (what == QLatin1String("dump")) {
        OutputWriter::line({{"kind", "profile"}, {"profile", m_deck.profile()}});
        return true;
    }
    if (what == QLatin1String("remove")) {
        if (!slotOf(step, &slot, error))
            return false;
        if (!m_deck.remove(slot)) {
            *error = QStringLiteral("slot %1 is empty").arg(slot);
            return false;
        }
        QString problem;
        return m_profile.save(m_deck.profile(), &problem) || (*error = problem, false);
    }
    *error = QStringLiteral("unknown step \"%1\"").arg(what);
    return false;
}

bool ScriptRunner::assign(const QJsonObject& step, QString* error)
{
    int slot = -1;
    if (!slotOf(step, &slot, error))
        return false;
    if (!step.value("category").isString()) {
        *error = QStringLiteral("\"category\" must be a string");
        return false;
    }
    QJsonObject params;
    for (const char* key : {"preset", "payload"}) {
        if (!step.contains(key))
            continue;
        if (!step.value(key).isObject()) {
            *error = QStringLiteral("\"%1\" must be an object").arg(QLatin1String(key));
            return false;
        }
        params.insert(key, step.value(key));
    }
    if (!m_deck.assign(slot, step.value("category").toString(), params, error))
        return false;
    QString problem;
    return m_profile.save(m_deck.profile(), &problem) || (*error = problem, false);
}

bool ScriptRunner::typeInto(const QJsonObject& step, bool clear, QString* error)
{
    int slot = -1;
    if (!slotOf(step, &slot, error))
        return false;
    if (!step.value("widget").isString() || (!clear && !step.value("text").isString())) {
        *error = QStringLiteral("\"widget\" and \"text\" must be strings");
        return false;
    }
    host::ActionInterface* action = m_deck.action(slot);
    QWidget* inspector = action ? action->propertyWidget() : nullptr;
    QWidget* target = inspector ? inspector->findChild<QWidget*>(step.value("widget").toString()) : nullptr;
    if (!target) {
        *error = QStringLiteral("slot %1 has no inspector widget \"%2\"").arg(slot).arg(step.value("widget").toString());
        return false;
    }
    target->setFocus(Qt::OtherFocusReason);
    if (clear) {
        sendKey(target, Qt::Key_A, Qt::ControlModifier);
        sendKey(target, Qt::Key_Delete, Qt::NoModifier);
        return true;
    }
    for (const QChar c : step.value("text").toString())
        sendKey(target, keyFor(c), Qt::NoModifier, QString(c));
    return true;
}

// What the inspector's icon picker reports once the user has chosen a file: the
// kit's public slot for a new icon of state 0.
bool ScriptRunner::pickIcon(const QJsonObject& step, QString* error)
{
    int slot = -1;
    if (!slotOf(step, &slot, error))
        return false;
    if (!step.value("path").isString()) {
        *error = QStringLiteral("\"path\" must be a string");
        return false;
    }
    host::ActionInterface* action = m_deck.action(slot);
    QObject* base = action && action->propertyWidget() ? action->propertyWidget()->findChild<QObject*>("base") : nullptr;
    if (!base || !QMetaObject::invokeMethod(base, "onIconPathChanged", Q_ARG(int, 0),
                                            Q_ARG(QString, step.value("path").toString()))) {
        *error = QStringLiteral("slot %1 has no icon panel").arg(slot);
        return false;
    }
    return true;
}

bool ScriptRunner::render(const QJsonObject& step, QString* error)
{
    if (!step.value("path").isString()) {
        *error = QStringLiteral("\"path\" must be a string");
        return false;
    }
    const QString path = step.value("path").toString();
    const QImage image = m_deck.render();
    if (!image.save(path, "PNG")) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    OutputWriter::line({{"kind", "render"}, {"path", path}, {"width", image.width()}, {"height", image.height()}});
    return true;
}

void ScriptRunner::flushKeys()
{
    for (const QJsonValue& sequence : KeyEventLog::take()) {
        QJsonArray events;
        for (const QJsonValue& event : sequence.toArray()) {
            events.append(QJsonObject{{"code", event["code"]}, {"down", event["down"]}, {"flags", event["flags"]},
                                      {"setsFlags", event["setsFlags"]}});
        }
        OutputWriter::line({{"kind", "keys"}, {"events", events}});
    }
}
