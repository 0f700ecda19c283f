#include "deck.h"

#include "actioncalls.h"
#include "hostlog.h"
#include "keycell.h"
#include "multiaction.h"
#include "profilestore.h"

#include <QPainter>
#include <QUuid>
#include <QWidget>

namespace {
QString describe(const QJsonValue& key)
{
    const QString category = key["category"].toString();
    return category.isEmpty() ? QStringLiteral("a key") : QStringLiteral("key \"%1\"").arg(category);
}
} // namespace

Deck::Deck(host::PackageInterface* package, int columns, int rows, QObject* parent)
    : QObject(parent)
    , m_package(package)
    , m_columns(columns)
    , m_rows(rows)
    , m_pages(1)
{
}

Deck::~Deck()
{
    for (Key& key : m_keys)
        destroy(key);
}

QString Deck::newTarget()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

void Deck::setStepGate(const std::function<void(std::function<void()>)>& gate)
{
    m_stepGate = gate;
    for (const Key& key : std::as_const(m_keys)) {
        if (key.multi)
            key.multi->setStepGate(gate);
    }
}

bool Deck::validSlot(int slot, QString* error) const
{
    if (slot >= 0 && slot < slotCount())
        return true;
    *error = QStringLiteral("slot %1 is outside the %2x%3 deck").arg(slot).arg(m_columns).arg(m_rows);
    return false;
}

void Deck::destroy(Key& key)
{
    // The host shows the widgets but never deletes them: give the face back first. An
    // inspector on show is the window's to give back (asking for one here would build it).
    if (key.action) {
        if (QWidget* face = key.action->pluginWidget())
            face->setParent(nullptr);
    }
    delete key.action;
    key.action = nullptr;
    delete key.multi;  // its steps' actions and its face go with it
    key.multi = nullptr;
}

MultiAction* Deck::createMulti(int slot, const QJsonObject& entry)
{
    auto* multi = new MultiAction(entry);
    multi->setStepGate(m_stepGate);
    // Connected before its steps load, so that settings reported at once are stored.
    connect(multi, &MultiAction::settingsReported, this, [this, multi, slot](const QString& target, const QJsonObject& payload) {
        auto it = m_keys.find(slot);
        if (it == m_keys.end() || it->multi != multi)
            return;
        it->entry = multi->entry();
        m_pages[m_current].entries.insert(slot, it->entry);
        emit settingsReported(slot, target, payload);
    });
    connect(multi, &MultiAction::stepFinished, this, [this, slot](int step) { emit runStepFinished(slot, step); });
    connect(multi, &MultiAction::stepFailed, this,
            [this, slot](int step, const QString& why) { emit runStepFailed(slot, step, why); });
    connect(multi, &MultiAction::finished, this, [this, slot](qint64 ms) { emit runFinished(slot, ms); });
    return multi;
}

// Installs a new key in `slot`; a refused initialisation leaves `previous` in place
// when `keepPrevious`, else a placeholder.
bool Deck::install(int slot, const QJsonObject& entry, const QJsonObject& params, bool keepPrevious, QString* error)
{
    const bool multi = MultiAction::isMultiAction(entry);
    QString why = multi ? MultiAction::unusable(entry) : QString();
    host::ActionInterface* action = multi ? nullptr : ActionCalls::create(m_package, entry, slot, &why);
    if (!why.isEmpty() && keepPrevious) {
        *error = why;
        return false;
    }
    Key previous = m_keys.take(slot);
    Page& page = m_pages[m_current];
    const QJsonObject previousEntry = page.entries.value(slot);
    // Until the key reports, the profile keeps what it was created from.
    m_keys.insert(slot, Key{action, nullptr, entry, QString()});
    page.entries.insert(slot, entry);
    if (action) {
        // The host knows the signal by its signature only.
        QObject::connect(action, host::kEventSentSignal, this, SLOT(onEventSent(QJsonObject)));
        if (!action->init(entry.value("target").toString(), params)) {
            why = QStringLiteral("action \"%1\" refused its settings").arg(entry.value("category").toString());
            destroy(m_keys[slot]);
            action = nullptr;
        }
    } else if (multi && why.isEmpty()) {
        MultiAction* created = createMulti(slot, entry);
        m_keys[slot].multi = created;
        created->load(m_package, slot);
        m_keys[slot].entry = created->entry();  // a refused step is back as it was stored
        page.entries.insert(slot, m_keys[slot].entry);
    }
    const bool loaded = action || m_keys[slot].multi;
    if (!loaded && keepPrevious) {
        m_keys.remove(slot);
        page.entries.remove(slot);
        if (!previousEntry.isEmpty()) {
            m_keys.insert(slot, previous);
            page.entries.insert(slot, previousEntry);
        }
        *error = why;
        return false;
    }
    destroy(previous);
    if (!loaded) {
        m_keys[slot].problem = why;
        *error = why;
    }
    emit slotChanged(slot);
    return loaded;
}

bool Deck::assign(int slot, const QString& category, const QJsonObject& params, QString* error, const QString& target)
{
    if (!validSlot(slot, error))
        return false;
    QJsonObject entry{{"slot", slot}, {"category", category}, {"target", target.isEmpty() ? newTarget() : target}};
    if (params.value("payload").isObject())
        entry.insert("payload", params.value("payload"));
    else if (params.value("preset").isObject())
        entry.insert("preset", params.value("preset"));
    if (!install(slot, entry, params, true, error))
        return false;
    emit changed();
    return true;
}

bool Deck::assignEntry(int slot, const QJsonObject& entry, QString* error)
{
    if (!validSlot(slot, error))
        return false;
    QJsonObject placed = entry;
    placed.insert("slot", slot);
    if (!install(slot, placed, ActionCalls::paramsOf(placed), true, error))
        return false;
    emit changed();
    return true;
}

void Deck::setEntry(int slot, const QJsonObject& entry, QString* problem)
{
    QString error;
    if (!validSlot(slot, &error))
        return;
    if (entry.isEmpty()) {
        remove(slot);
        return;
    }
    QJsonObject placed = entry;
    placed.insert("slot", slot);
    if (!install(slot, placed, ActionCalls::paramsOf(placed), false, &error) && problem)
        *problem = error;
    else if (problem && !stepProblems(slot).isEmpty())
        *problem = stepProblems(slot).join(QStringLiteral("; "));
    emit changed();
}

void Deck::onEventSent(const QJsonObject& event)
{
    auto* action = static_cast<host::ActionInterface*>(sender());
    for (auto it = m_keys.begin(); it != m_keys.end(); ++it) {
        if (it->action != action)
            continue;
        QJsonObject payload;
        if (!ActionCalls::reportedSettings(event, &payload))
            return;
        it->entry.insert("payload", payload);
        it->entry.remove("preset");
        m_pages[m_current].entries.insert(it.key(), it->entry);
        emit settingsReported(it.key(), it->entry.value("target").toString(), payload);
        return;
    }
}

bool Deck::remove(int slot)
{
    Page& page = m_pages[m_current];
    if (!page.entries.contains(slot))
        return false;
    auto it = m_keys.find(slot);
    if (it != m_keys.end()) {
        destroy(*it);
        m_keys.erase(it);
    }
    page.entries.remove(slot);
    emit slotChanged(slot);
    emit changed();
    return true;
}

QJsonObject Deck::entry(int slot) const
{
    return m_pages[m_current].entries.value(slot);
}

host::ActionInterface* Deck::action(int slot) const
{
    return m_keys.value(slot).action;
}

MultiAction* Deck::multiAction(int slot) const
{
    return m_keys.value(slot).multi;
}

bool Deck::isLoaded(int slot) const
{
    const Key key = m_keys.value(slot);
    return key.action || key.multi;
}

QWidget* Deck::face(int slot) const
{
    const Key key = m_keys.value(slot);
    if (key.action)
        return key.action->pluginWidget();
    return key.multi ? key.multi->face() : nullptr;
}

QStringList Deck::stepProblems(int slot) const
{
    const MultiAction* multi = multiAction(slot);
    return multi ? multi->problems() : QStringList();
}

bool Deck::isRunning(int slot) const
{
    const MultiAction* multi = multiAction(slot);
    return multi && multi->isRunning();
}

QString Deck::busyReason(int slot) const
{
    const MultiAction* multi = multiAction(slot);
    return multi ? multi->busyReason() : QString();
}

QString Deck::category(int slot) const
{
    return entry(slot).value("category").toString();
}

QString Deck::problem(int slot) const
{
    return m_keys.value(slot).problem;
}

int Deck::unplacedCount() const
{
    return int(m_pages[m_current].unplaced.size());
}

bool Deck::sendEvent(int slot, const QString& type, QString* error)
{
    if (!validSlot(slot, error))
        return false;
    const Key key = m_keys.value(slot);
    if (key.multi) {
        // The host's own key: down and up change its face, the trigger runs it.
        if (type == ActionCalls::kKeyDown || type == ActionCalls::kKeyUp)
            key.multi->showDown(type == ActionCalls::kKeyDown);
        else if (type == ActionCalls::kAppTriggered)
            return key.multi->start(error);
        return true;
    }
    if (!key.action) {
        *error = key.problem.isEmpty() ? QStringLiteral("slot %1 is empty").arg(slot)
                                       : QStringLiteral("slot %1 holds a key that cannot be loaded: %2").arg(slot).arg(key.problem);
        return false;
    }
    QJsonObject result;
    key.action->eventReceived(ActionCalls::envelope(key.entry.value("target").toString(), type), result);
    if (!result.isEmpty())
        qCDebug(lcHost) << "result of" << type << "on slot" << slot << result;
    return true;
}

bool Deck::pressDown(int slot, QString* error)
{
    // A running multi-action ignores the press altogether, its face included.
    if (const QString busy = busyReason(slot); !busy.isEmpty()) {
        *error = busy;
        return false;
    }
    return sendEvent(slot, ActionCalls::kKeyDown, error) && sendEvent(slot, ActionCalls::kAppTriggered, error);
}

bool Deck::release(int slot, QString* error)
{
    return sendEvent(slot, ActionCalls::kKeyUp, error);
}

bool Deck::press(int slot, QString* error)
{
    return pressDown(slot, error) && release(slot, error);
}

QImage Deck::render() const
{
    QImage deck(m_columns * kKeyWidth, m_rows * kKeyHeight, QImage::Format_ARGB32);
    deck.fill(Qt::black);
    QPainter painter(&deck);
    for (int slot = 0; slot < slotCount(); ++slot) {
        const QPoint origin((slot % m_columns) * kKeyWidth, (slot / m_columns) * kKeyHeight);
        const QRect cell(origin, QSize(kKeyWidth, kKeyHeight));
        if (QWidget* keyFace = face(slot))
            painter.drawPixmap(cell, keyFace->grab(QRect(0, 0, kKeyWidth, kKeyHeight)));
        else
            KeyCell::paintEmpty(painter, cell.adjusted(1, 1, -1, -1), !problem(slot).isEmpty(), category(slot));
    }
    return deck;
}

QJsonObject Deck::pageData(int index) const
{
    const Page& page = m_pages[index];
    QJsonArray keys;
    for (const QJsonObject& entry : page.entries)
        keys.append(entry);
    for (const QJsonValue& entry : page.unplaced)
        keys.append(entry);
    QJsonObject data = page.data;
    data.insert("keys", keys);
    return data;
}

QJsonObject Deck::profile() const
{
    QJsonArray pages;
    for (int i = 0; i < pageCount(); ++i)
        pages.append(pageData(i));
    return {{"version", 2}, {"grid", QJsonObject{{"columns", m_columns}, {"rows", m_rows}}},
            {"page", m_handPage}, {"pages", pages}};
}

Deck::Page Deck::readPage(const QJsonObject& stored, int index, QStringList* problems) const
{
    Page page;
    page.data = stored;
    page.data.remove("keys");
    for (const QJsonValue& value : stored.value("keys").toArray()) {
        const QJsonValue slotValue = value["slot"];
        const int slot = slotValue.toInt(-1);
        QString why;
        if (!value.isObject())
            why = QStringLiteral("is not an object");
        else if (!slotValue.isDouble() || slotValue.toDouble() != double(slot) || slot < 0 || slot >= slotCount())
            why = QStringLiteral("has no slot on the %1x%2 deck").arg(m_columns).arg(m_rows);
        else if (page.entries.contains(slot))
            why = QStringLiteral("has slot %1, which another key holds").arg(slot);
        if (why.isEmpty()) {
            page.entries.insert(slot, value.toObject());
            continue;
        }
        page.unplaced.append(value);
        problems->append(QStringLiteral("page %1: %2 %3; it is kept in the profile but not shown")
                             .arg(index + 1).arg(describe(value), why));
    }
    return page;
}

void Deck::showPage(QStringList* problems)
{
    const QMap<int, QJsonObject> entries = m_pages[m_current].entries;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        QString error;
        if (!install(it.key(), it.value(), ActionCalls::paramsOf(it.value()), false, &error))
            problems->append(QStringLiteral("page %1, slot %2: %3; kept as it is").arg(m_current + 1).arg(it.key()).arg(error));
        for (const QString& stepProblem : stepProblems(it.key()))
            problems->append(QStringLiteral("page %1, slot %2, %3; kept as it is, skipped when the key runs")
                                 .arg(m_current + 1).arg(it.key()).arg(stepProblem));
    }
}

void Deck::showPageReporting()
{
    QStringList problems;
    showPage(&problems);
    for (const QString& problem : std::as_const(problems))
        emit problemFound(problem);
}

void Deck::hidePage()
{
    const QList<int> occupied = m_keys.keys();
    for (Key& key : m_keys)
        destroy(key);
    m_keys.clear();
    for (int slot : occupied)
        emit slotChanged(slot);
}

void Deck::restore(const QJsonObject& profile, QStringList* problems)
{
    hidePage();
    m_pages.clear();
    const QJsonArray pages = profile.value("pages").toArray();
    for (int i = 0; i < pages.size(); ++i)
        m_pages.append(readPage(pages[i].toObject(), i, problems));
    if (m_pages.isEmpty())
        m_pages.append(Page());
    m_current = qBound(0, profile.value("page").toInt(), pageCount() - 1);
    m_handPage = m_current;
    showPage(problems);
    emit pageChanged(m_current);
}

bool Deck::setCurrentPage(int page, QString* error)
{
    if (page < 0 || page >= pageCount()) {
        *error = QStringLiteral("page %1 does not exist (pages 0 to %2)").arg(page).arg(pageCount() - 1);
        return false;
    }
    const bool stored = page == m_handPage;
    m_handPage = page;
    if (page != m_current)
        switchPage(page);
    if (!stored)
        emit changed();
    return true;
}

bool Deck::followPage(int page, QString* error)
{
    if (page < 0 || page >= pageCount()) {
        *error = QStringLiteral("page %1 does not exist (pages 0 to %2)").arg(page).arg(pageCount() - 1);
        return false;
    }
    if (page != m_current)
        switchPage(page);
    return true;
}

void Deck::switchPage(int page)
{
    hidePage();
    m_current = page;
    showPageReporting();
    emit pageChanged(m_current);
}

bool Deck::setPageApps(int page, const QStringList& apps, const QStringList& titles, QString* error)
{
    if (page < 0 || page >= pageCount()) {
        *error = QStringLiteral("page %1 does not exist (pages 0 to %2)").arg(page).arg(pageCount() - 1);
        return false;
    }
    QJsonObject& data = m_pages[page].data;
    for (const auto& [field, names] : {std::pair{"apps", &apps}, std::pair{"titles", &titles}}) {
        if (names->isEmpty())
            data.remove(QLatin1String(field));
        else
            data.insert(QLatin1String(field), QJsonArray::fromStringList(*names));
    }
    emit pageAppsChanged(page);
    emit changed();
    return true;
}

int Deck::addPage()
{
    if (pageCount() >= ProfileStore::kMaxPages)
        return -1;
    m_pages.append(Page());
    emit changed();
    return pageCount() - 1;
}

bool Deck::insertPage(int index, const QJsonObject& data, QString* error)
{
    if (index < 0 || index > pageCount() || pageCount() >= ProfileStore::kMaxPages) {
        *error = QStringLiteral("page %1 cannot be inserted").arg(index);
        return false;
    }
    QStringList problems;  // reported when the page is shown
    m_pages.insert(index, readPage(data, index, &problems));
    if (index <= m_current && pageCount() > 1)
        ++m_current;  // the shown page stays shown
    if (index <= m_handPage && pageCount() > 1)
        ++m_handPage;
    emit pageChanged(m_current);
    emit changed();
    return true;
}

bool Deck::removePage(int index, QString* error)
{
    if (pageCount() <= 1 || index < 0 || index >= pageCount()) {
        *error = QStringLiteral("page %1 cannot be removed").arg(index);
        return false;
    }
    const bool shown = index == m_current;
    if (shown)
        hidePage();
    m_pages.remove(index);
    if (index < m_current || m_current >= pageCount())
        m_current = qMax(0, m_current - 1);
    if (index == m_handPage)
        m_handPage = m_current;  // what the user sees now
    else if (index < m_handPage)
        --m_handPage;
    if (shown)
        showPageReporting();
    emit pageChanged(m_current);
    emit changed();
    return true;
}
