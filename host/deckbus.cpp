#include "deckbus.h"

#include "hostlog.h"
#include "hostsession.h"
#include "multiaction.h"
#include "pressgate.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

DeckBus::DeckBus(HostSession& session, PressGate& gate, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_gate(gate)
{
}

DeckBus::~DeckBus()
{
    if (!m_published)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QString::fromLatin1(kPath));
    bus.unregisterService(QString::fromLatin1(kService));
}

bool DeckBus::publish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCInfo(lcHost) << "no session bus: the deck cannot be steered from outside";
        return false;
    }
    if (!bus.registerObject(QString::fromLatin1(kPath), this, QDBusConnection::ExportAllSlots)) {
        qCWarning(lcHost) << "cannot publish the deck on the session bus:" << bus.lastError().message();
        return false;
    }
    if (!bus.registerService(QString::fromLatin1(kService))) {
        qCWarning(lcHost) << "another vanta-host has" << kService << "on the session bus; this one is not steered from outside";
        bus.unregisterObject(QString::fromLatin1(kPath));
        return false;
    }
    m_published = true;
    return true;
}

QString DeckBus::Press(int slot, int page)
{
    Deck& deck = m_session.deck();
    if (page >= 0 && page != deck.currentPage()) {
        const QString error = ShowPage(page);
        if (!error.isEmpty())
            return error;
    }
    if (slot < 0 || slot >= deck.slotCount())
        return QStringLiteral("slot %1 is outside the deck (0 to %2)").arg(slot).arg(deck.slotCount() - 1);
    if (!deck.isLoaded(slot))
        return deck.problem(slot).isEmpty() ? QStringLiteral("slot %1 is empty").arg(slot)
                                            : QStringLiteral("slot %1 cannot be loaded: %2").arg(slot).arg(deck.problem(slot));
    if (const QString busy = deck.busyReason(slot); !busy.isEmpty())
        return busy;
    m_gate.press(slot);
    return {};
}

QString DeckBus::ShowPage(int page)
{
    QString error;
    m_session.deck().setCurrentPage(page, &error);
    return error;
}

QString DeckBus::SwitchProfile(const QString& name)
{
    const QMap<QString, QString> named = m_session.namedProfiles();
    if (!named.contains(name))
        return QStringLiteral("no profile named \"%1\" (%2)").arg(name, named.keys().join(QStringLiteral(", ")));
    if (named.value(name) != m_session.profile().path()) {
        QStringList problems;
        m_session.openProfile(named.value(name), &problems);
        return problems.join(QLatin1Char('\n'));
    }
    return {};
}

QString DeckBus::ListKeys()
{
    Deck& deck = m_session.deck();
    QJsonArray keys;
    for (int slot = 0; slot < deck.slotCount(); ++slot) {
        const QJsonObject entry = deck.entry(slot);
        if (entry.isEmpty())
            continue;
        QJsonObject key{{"slot", slot}, {"category", entry.value("category")}};
        if (host::ActionInterface* action = deck.action(slot)) {
            key.insert("title", action->actionTitle());
        } else if (const MultiAction* multi = deck.multiAction(slot)) {
            key.insert("title", multi->title());
            key.insert("steps", multi->stepCount());
            key.insert("running", multi->isRunning());
        } else {
            key.insert("problem", deck.problem(slot));
        }
        keys.append(key);
    }
    const QJsonObject answer{{"page", deck.currentPage()}, {"pages", deck.pageCount()}, {"keys", keys}};
    return QString::fromUtf8(QJsonDocument(answer).toJson(QJsonDocument::Compact));
}
