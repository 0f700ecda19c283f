#include "deck.h"

#include "hostlog.h"

#include <QJsonArray>
#include <QPainter>
#include <QUuid>
#include <QWidget>

namespace {
const QString kSetSettings = QStringLiteral("tov.ky.plugin.event.set.settings");
const QString kKeyDown = QStringLiteral("tov.ky.plugin.event.key.down");
const QString kKeyUp = QStringLiteral("tov.ky.plugin.event.key.up");
const QString kAppTriggered = QStringLiteral("tov.ky.plugin.event.app.triggered");
const QColor kEmptyKey(30, 30, 30);

QJsonObject envelope(const QString& target, const QString& type)
{
    return {{"target", target},
            {"event", QJsonObject{{"type", type}, {"SDKVersion", "1.0.0"}, {"AppVersion", "1.0.0"},
                                  {"payload", QJsonObject{}}}}};
}
}

Deck::Deck(host::PackageInterface* package, int columns, int rows, QObject* parent)
    : QObject(parent)
    , m_package(package)
    , m_columns(columns)
    , m_rows(rows)
{
}

Deck::~Deck()
{
    for (Key& key : m_keys)
        destroy(key);
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
    // The host shows the widgets but never deletes them: give them back first.
    if (key.action) {
        for (QWidget* widget : {key.action->pluginWidget(), key.action->propertyWidget()}) {
            if (widget)
                widget->setParent(nullptr);
        }
    }
    delete key.action;
    key.action = nullptr;
}

bool Deck::assign(int slot, const QString& category, const QJsonObject& params, QString* error, const QString& target)
{
    if (!validSlot(slot, error))
        return false;
    host::ActionInterface* action = m_package->makeWidget(category, slot);
    if (!action) {
        *error = QStringLiteral("the package has no action \"%1\"").arg(category);
        return false;
    }
    // The old key stays until the new one has accepted its initialisation.
    const Key previous = m_keys.take(slot);
    // Until the key reports, the profile keeps what it was created from.
    const Key key{action, category, target.isEmpty() ? QUuid::createUuid().toString(QUuid::WithoutBraces) : target,
                  params.value("payload").toObject(), params.value("preset").toObject()};
    m_keys.insert(slot, key);
    // The host knows the signal by its signature only.
    QObject::connect(action, host::kEventSentSignal, this, SLOT(onEventSent(QJsonObject)));
    if (!action->init(key.target, params)) {
        *error = QStringLiteral("action \"%1\" refused its initialisation").arg(category);
        destroy(m_keys[slot]);
        m_keys.remove(slot);
        if (previous.action)
            m_keys.insert(slot, previous);
        return false;
    }
    Key old = previous;
    destroy(old);
    emit slotChanged(slot);
    return true;
}

void Deck::onEventSent(const QJsonObject& event)
{
    auto* action = static_cast<host::ActionInterface*>(sender());
    for (auto it = m_keys.begin(); it != m_keys.end(); ++it) {
        if (it->action != action)
            continue;
        const QJsonObject inner = event.value("event").toObject();
        if (inner.value("type").toString() != kSetSettings)
            return;
        it->payload = inner.value("payload").toObject();
        emit settingsReported(it.key(), it->target, it->payload);
        return;
    }
}

bool Deck::remove(int slot)
{
    auto it = m_keys.find(slot);
    if (it == m_keys.end())
        return false;
    destroy(*it);
    m_keys.erase(it);
    emit slotChanged(slot);
    return true;
}

host::ActionInterface* Deck::action(int slot) const
{
    return m_keys.value(slot).action;
}

QString Deck::category(int slot) const
{
    return m_keys.value(slot).category;
}

bool Deck::sendEvent(int slot, const QString& type, QString* error)
{
    if (!validSlot(slot, error))
        return false;
    const Key key = m_keys.value(slot);
    if (!key.action) {
        *error = QStringLiteral("slot %1 is empty").arg(slot);
        return false;
    }
    QJsonObject result;
    key.action->eventReceived(envelope(key.target, type), result);
    if (!result.isEmpty())
        qCDebug(lcHost) << "result of" << type << "on slot" << slot << result;
    return true;
}

bool Deck::pressDown(int slot, QString* error)
{
    return sendEvent(slot, kKeyDown, error) && sendEvent(slot, kAppTriggered, error);
}

bool Deck::release(int slot, QString* error)
{
    return sendEvent(slot, kKeyUp, error);
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
        QWidget* face = m_keys.contains(slot) ? m_keys[slot].action->pluginWidget() : nullptr;
        if (face)
            painter.drawPixmap(cell, face->grab(QRect(0, 0, kKeyWidth, kKeyHeight)));
        else
            painter.fillRect(cell.adjusted(1, 1, -1, -1), kEmptyKey);
    }
    return deck;
}

QJsonObject Deck::profile() const
{
    QJsonArray keys;
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it) {
        QJsonObject key{{"slot", it.key()}, {"category", it->category}, {"target", it->target},
                        {"payload", it->payload}};
        if (it->payload.isEmpty() && !it->preset.isEmpty())
            key.insert("preset", it->preset);
        keys.append(key);
    }
    return {{"grid", QJsonObject{{"columns", m_columns}, {"rows", m_rows}}}, {"keys", keys}};
}

void Deck::restore(const QJsonObject& profile, QStringList* problems)
{
    for (const QJsonValue& value : profile.value("keys").toArray()) {
        const QJsonObject key = value.toObject();
        const QJsonObject stored = key.value("payload").toObject();
        const QJsonObject params = stored.isEmpty() && key.value("preset").isObject()
            ? QJsonObject{{"preset", key.value("preset")}}
            : QJsonObject{{"payload", stored}};
        QString error;
        if (!assign(key.value("slot").toInt(-1), key.value("category").toString(), params, &error,
                    key.value("target").toString()))
            problems->append(error);
    }
}
