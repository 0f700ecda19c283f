#include "scriptrunner.h"
#include "appmatch.h"

#include "deck.h"
#include "deckcommand.h"
#include "hostsession.h"
#include "iconpicker.h"
#include "multiaction.h"
#include "outputwriter.h"
#include "recordchannelreader.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace {

const char* const kSteps = "apps, assign, clear, dump, event, icon, move, page, press, remove, render, type, wait";

bool isInteger(const QJsonValue& value);

// {"do":"apps","page":N,"apps":[...],"titles":[...]}: the applications page N follows
// (the page after the last is added; no "apps" or an empty list: none).
bool setPageApps(Deck& deck, const QJsonObject& step, QString* error)
{
    if (!isInteger(step.value("page"))) {
        *error = QStringLiteral("\"page\" must be an integer");
        return false;
    }
    QStringList apps;
    QStringList titles;
    if (!AppMatch::readNames(step.value("apps"), "apps", &apps, error)
        || !AppMatch::readNames(step.value("titles"), "titles", &titles, error))
        return false;
    const int page = step.value("page").toInt();
    if (page == deck.pageCount() && deck.addPage() < 0) {
        *error = QStringLiteral("no more pages can be added");
        return false;
    }
    return deck.setPageApps(page, apps, titles, error);
}

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

// The names a "type" or "clear" step can use: the inspector's named text fields.
QStringList editableNames(const QWidget* inspector)
{
    QStringList names;
    for (const QWidget* child : inspector->findChildren<QWidget*>()) {
        const bool editable = qobject_cast<const QLineEdit*>(child) || qobject_cast<const QTextEdit*>(child)
                           || qobject_cast<const QPlainTextEdit*>(child) || qobject_cast<const QAbstractSpinBox*>(child)
                           || (qobject_cast<const QComboBox*>(child) && static_cast<const QComboBox*>(child)->isEditable());
        if (editable && !child->objectName().isEmpty() && !child->objectName().startsWith(QLatin1String("qt_")))
            names << child->objectName();
    }
    names.removeDuplicates();
    names.sort();
    return names;
}

} // namespace

ScriptRunner::ScriptRunner(HostSession& session, RecordChannelReader* records)
    : m_session(session)
    , m_records(records)
{
    // Each step's records as it ends, so that they come in the order of the steps.
    m_stepEnded = QObject::connect(&deck(), &Deck::runStepFinished, [this] { printRecords(); });
    m_runEnded = QObject::connect(&deck(), &Deck::runFinished, [this](int slot, qint64 ms) {
        printRecords();
        OutputWriter::line({{"kind", "done"}, {"slot", slot}, {"ms", ms}});
    });
}

ScriptRunner::~ScriptRunner()
{
    QObject::disconnect(m_stepEnded);
    QObject::disconnect(m_runEnded);
}

Deck& ScriptRunner::deck()
{
    return m_session.deck();
}

bool ScriptRunner::parse(const QByteArray& bytes, QJsonArray* steps, QString* why)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (document.isArray()) {
        *steps = document.array();
        return true;
    }
    *why = document.isNull() ? QStringLiteral("not JSON: %1 at offset %2").arg(parseError.errorString()).arg(parseError.offset)
                             : QStringLiteral("not a JSON array of steps");
    return false;
}

bool ScriptRunner::run(const QJsonArray& steps)
{
    bool allPassed = true;
    for (int i = 0; i < steps.size() && m_stopped.isEmpty(); ++i) {
        QString error;
        const bool passed = steps[i].isObject() ? runStep(steps[i].toObject(), &error)
                                                : (error = QStringLiteral("a step must be an object"), false);
        QCoreApplication::processEvents();
        printRecords();
        if (!passed) {
            allPassed = false;
            OutputWriter::line({{"kind", "error"}, {"step", i}, {"message", error}});
        }
        if (!m_stopped.isEmpty()) {
            allPassed = false;
            OutputWriter::line({{"kind", "error"}, {"step", i}, {"message", m_stopped}});
        }
    }
    return allPassed;
}

void ScriptRunner::stop(const QString& why)
{
    m_stopped = why;
    if (m_loop)
        m_loop->quit();
}

bool ScriptRunner::slotOf(const QJsonObject& step, int* slot, QString* error, const char* name) const
{
    if (!isInteger(step.value(QLatin1String(name)))) {
        *error = QStringLiteral("\"%1\" must be an integer").arg(QLatin1String(name));
        return false;
    }
    *slot = step.value(QLatin1String(name)).toInt();
    return true;
}

bool ScriptRunner::stored(QString* error)
{
    QString problem;
    return m_session.saveProfile(&problem) || (*error = problem, false);
}

bool ScriptRunner::runStep(const QJsonObject& step, QString* error)
{
    if (!step.value("do").isString()) {
        *error = QStringLiteral("a step needs \"do\", one of: %1").arg(QLatin1String(kSteps));
        return false;
    }
    const QString what = step.value("do").toString();
    int slot = -1;
    if (what == QLatin1String("assign"))
        return assign(step, error);
    if (what == QLatin1String("apps"))
        return setPageApps(deck(), step, error) && stored(error);
    if (what == QLatin1String("event")) {
        if (!step.value("type").isString()) {
            *error = QStringLiteral("\"type\" must be a string");
            return false;
        }
        return slotOf(step, &slot, error) && deck().sendEvent(slot, step.value("type").toString(), error);
    }
    if (what == QLatin1String("press"))
        return press(step, error);
    if (what == QLatin1String("type") || what == QLatin1String("clear"))
        return typeInto(step, what == QLatin1String("clear"), error);
    if (what == QLatin1String("wait"))
        return wait(step, error);
    if (what == QLatin1String("render"))
        return render(step, error);
    if (what == QLatin1String("icon"))
        return pickIcon(step, error);
    if (what == QLatin1String("page"))
        return page(step, error);
    if (what == QLatin1String("move"))
        return move(step, error);
    if (what == QLatin1String("dump")) {
        OutputWriter::line({{"kind", "profile"}, {"profile", deck().profile()}});
        return true;
    }
    if (what == QLatin1String("remove")) {
        if (!slotOf(step, &slot, error))
            return false;
        if (!deck().remove(slot)) {
            *error = QStringLiteral("slot %1 is empty").arg(slot);
            return false;
        }
        return stored(error);
    }
    *error = QStringLiteral("unknown step \"%1\"; steps are: %2").arg(what, QLatin1String(kSteps));
    return false;
}

bool ScriptRunner::assign(const QJsonObject& step, QString* error)
{
    int slot = -1;
    if (!slotOf(step, &slot, error))
        return false;
    if (step.contains("steps"))
        return assignSteps(slot, step, error);
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
    return deck().assign(slot, step.value("category").toString(), params, error) && stored(error);
}

// A multi-action key: {"steps": [{"category", "payload" | "preset"}, {"delay": ms}, ...]},
// optionally with "title" and "icon". A step the package cannot load is kept in the key
// (and skipped when it runs) and makes the step fail.
bool ScriptRunner::assignSteps(int slot, const QJsonObject& step, QString* error)
{
    if (!step.value("steps").isArray()) {
        *error = QStringLiteral("\"steps\" must be an array");
        return false;
    }
    QJsonArray steps;
    const QJsonArray given = step.value("steps").toArray();
    for (int i = 0; i < given.size(); ++i) {
        const QJsonObject item = given[i].toObject();
        if (item.contains("delay")) {
            if (!isInteger(item.value("delay")) || item.value("delay").toInt() < 0 || item.value("delay").toInt() > MultiAction::kMaxDelayMs) {
                *error = QStringLiteral("step %1 of \"steps\": \"delay\" must be 0 to %2 ms").arg(i + 1).arg(MultiAction::kMaxDelayMs);
                return false;
            }
            steps.append(item.value("delay").toInt());
            continue;
        }
        if (!item.value("category").isString()) {
            *error = QStringLiteral("step %1 of \"steps\" must be {\"category\", \"payload\"} or {\"delay\": ms}").arg(i + 1);
            return false;
        }
        QJsonObject action{{"category", item.value("category")}, {"target", Deck::newTarget()}};
        for (const char* key : {"preset", "payload"}) {
            if (!item.contains(key))
                continue;
            if (!item.value(key).isObject()) {
                *error = QStringLiteral("step %1 of \"steps\": \"%2\" must be an object").arg(i + 1).arg(QLatin1String(key));
                return false;
            }
            action.insert(key, item.value(key));
        }
        steps.append(action);
    }
    QJsonObject entry = MultiAction::newEntry(slot, Deck::newTarget(), QStringLiteral("Multi Action"));
    entry.insert("steps", steps);
    for (const char* key : {"title", "icon"}) {
        if (!step.contains(key))
            continue;
        if (!step.value(key).isString()) {
            *error = QStringLiteral("\"%1\" must be a string").arg(QLatin1String(key));
            return false;
        }
        entry.insert(key, step.value(key));
    }
    if (!deck().assignEntry(slot, entry, error) || !stored(error))
        return false;
    const QStringList problems = deck().stepProblems(slot);
    if (problems.isEmpty())
        return true;
    *error = QStringLiteral("slot %1: %2; kept in the key, skipped when it runs").arg(slot).arg(problems.join(QStringLiteral("; ")));
    return false;
}

// A press; a multi-action key's run is waited for, in the event loop.
bool ScriptRunner::press(const QJsonObject& step, QString* error)
{
    int slot = -1;
    if (!slotOf(step, &slot, error) || !deck().press(slot, error))
        return false;
    if (!deck().isRunning(slot))
        return true;
    QEventLoop loop;
    const auto ended = [&loop, slot](int which) {
        if (which == slot)
            loop.quit();
    };
    QObject::connect(&deck(), &Deck::runFinished, &loop, ended);
    QObject::connect(&deck(), &Deck::slotChanged, &loop, ended);  // the key went while it ran
    m_loop = &loop;
    if (m_stopped.isEmpty())
        loop.exec();
    return true;
}

bool ScriptRunner::typeInto(const QJsonObject& step, bool clear, QString* error)
{
    int slot = -1;
    if (!slotOf(step, &slot, error))
        return false;
    if (!step.value("widget").isString() || (!clear && !step.value("text").isString())) {
        *error = clear ? QStringLiteral("\"widget\" must be a string") : QStringLiteral("\"widget\" and \"text\" must be strings");
        return false;
    }
    host::ActionInterface* action = deck().action(slot);
    QWidget* inspector = action ? action->propertyWidget() : nullptr;
    if (!inspector) {
        *error = QStringLiteral("slot %1 has no key with an inspector").arg(slot);
        return false;
    }
    const QString name = step.value("widget").toString();
    QWidget* target = inspector->findChild<QWidget*>(name);
    if (!target) {
        *error = QStringLiteral("slot %1 has no inspector widget \"%2\"; it has: %3")
                     .arg(slot).arg(name, editableNames(inspector).join(QLatin1String(", ")));
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

bool ScriptRunner::wait(const QJsonObject& step, QString* error)
{
    if (!isInteger(step.value("ms")) || step.value("ms").toInt() < 0) {
        *error = QStringLiteral("\"ms\" must be a non-negative integer");
        return false;
    }
    // Sleeps in the event loop: timers, sockets and animations run, nothing spins.
    QEventLoop loop;
    QTimer::singleShot(step.value("ms").toInt(), &loop, &QEventLoop::quit);
    m_loop = &loop;
    if (m_stopped.isEmpty())
        loop.exec();
    return true;
}

// The inspector's icon picker, answered with the given file: the package's icon
// builder fits the picture to the key and stores it in the icon folder.
bool ScriptRunner::pickIcon(const QJsonObject& step, QString* error)
{
    int slot = -1;
    if (!slotOf(step, &slot, error))
        return false;
    if (!step.value("path").isString()) {
        *error = QStringLiteral("\"path\" must be a string");
        return false;
    }
    host::ActionInterface* action = deck().action(slot);
    if (!action) {
        *error = deck().problem(slot).isEmpty() ? QStringLiteral("slot %1 is empty").arg(slot)
                                                : QStringLiteral("slot %1 holds a key that cannot be loaded").arg(slot);
        return false;
    }
    const QJsonValue before = deck().entry(slot).value("payload").toObject().value("iconlist");
    if (!IconPicker::pick(action->propertyWidget(), step.value("path").toString(), error))
        return false;
    QCoreApplication::processEvents();  // the settings the new icon reports
    // The builder may refuse a picture that looked readable: then the key keeps its icon.
    if (deck().entry(slot).value("payload").toObject().value("iconlist") == before) {
        *error = QStringLiteral("the icon builder refused %1: nothing was stored, the key keeps its icon")
                     .arg(step.value("path").toString());
        return false;
    }
    return true;
}

bool ScriptRunner::page(const QJsonObject& step, QString* error)
{
    int page = -1;
    if (!slotOf(step, &page, error, "page"))
        return false;
    // A script may open the page after the last one: it is added.
    if (page == deck().pageCount() && deck().addPage() < 0) {
        *error = QStringLiteral("no more pages can be added");
        return false;
    }
    return deck().setCurrentPage(page, error) && stored(error);
}

bool ScriptRunner::move(const QJsonObject& step, QString* error)
{
    int from = -1;
    int to = -1;
    if (!slotOf(step, &from, error, "from") || !slotOf(step, &to, error, "to"))
        return false;
    for (int slot : {from, to}) {
        if (slot < 0 || slot >= deck().slotCount()) {
            *error = QStringLiteral("slot %1 is outside the %2x%3 deck").arg(slot).arg(deck().columns()).arg(deck().rows());
            return false;
        }
    }
    if (deck().entry(from).isEmpty()) {
        *error = QStringLiteral("slot %1 is empty").arg(from);
        return false;
    }
    std::unique_ptr<DeckCommand> command(DeckCommand::move(deck(), from, to));
    command->redo();
    return stored(error);
}

bool ScriptRunner::render(const QJsonObject& step, QString* error)
{
    if (!step.value("path").isString()) {
        *error = QStringLiteral("\"path\" must be a string");
        return false;
    }
    const QString path = step.value("path").toString();
    const QImage image = deck().render();
    if (!image.save(path, "PNG", Deck::kPictureQuality)) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    OutputWriter::line({{"kind", "render"}, {"path", path}, {"width", image.width()}, {"height", image.height()}});
    return true;
}

void ScriptRunner::printRecords()
{
    if (!m_records)
        return;
    for (const QJsonObject& record : m_records->take()) {
        const QString kind = record.value("kind").toString();
        if (kind == QLatin1String("keys")) {
            QJsonArray events;
            for (const QJsonValue& event : record.value("events").toArray()) {
                events.append(QJsonObject{{"code", event["code"]}, {"down", event["down"]}, {"flags", event["flags"]},
                                          {"setsFlags", event["setsFlags"]}});
            }
            OutputWriter::line({{"kind", "keys"}, {"events", events}});
        } else if (kind == QLatin1String("media")) {
            OutputWriter::line({{"kind", "media"}, {"key", record["key"]}, {"keyType", record["keyType"]},
                                {"down", record["down"]}});
        } else if (kind == QLatin1String("open")) {
            OutputWriter::line({{"kind", "open"}, {"path", record["path"]}, {"what", record["what"]}});
        }
    }
}
