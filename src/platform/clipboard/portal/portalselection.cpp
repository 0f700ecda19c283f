#include "portalselection.h"

#include "platform/clipboard/clipboardlog.h"
#include "platform/wayland/keysymsender.h"
#include "platform/wayland/portalclipboard.h"
#include "platform/wayland/portalsession.h"

#include <QDeadlineTimer>

#include <utility>

std::unique_ptr<PortalSelection> PortalSelection::open()
{
    // Keys forced another way (XTest, recorded) reach no client through the portal's
    // session, and asking for the sender would open one.
    const QString forced = qEnvironmentVariable("SYSTEMDLL_KEYBOARD_BACKEND");
    if (!forced.isEmpty() && forced != QLatin1String(KeysymSender::kPortal))
        return nullptr;
    PortalSession* session = KeysymSender::instance()->portalSession();
    if (!session)
        return nullptr;
    return std::make_unique<PortalSelection>(session);
}

PortalSelection::PortalSelection(PortalSession* session)
    : m_session(session)
{
    connect(session, &PortalSession::stateChanged, this, [this](PortalSession::State state) {
        if (state != PortalSession::State::Starting)
            emit prepared();
    });
}

bool PortalSelection::prepare()
{
    if (!m_session)
        return true;
    switch (m_session->state()) {
    case PortalSession::State::Started:
    case PortalSession::State::Refused:
        return true;
    case PortalSession::State::Failed:
        if (!PortalSession::isOffered(m_session->bus()))
            return true;
        Q_FALLTHROUGH();
    case PortalSession::State::Idle:
        m_session->start();
        Q_FALLTHROUGH();
    case PortalSession::State::Starting:
        break;
    }
    return m_session->state() != PortalSession::State::Starting;
}

// The session's clipboard, listened to; null when the session has none (now).
PortalClipboard* PortalSelection::clipboard()
{
    PortalClipboard* clipboard = m_session ? m_session->clipboard() : nullptr;
    if (clipboard && clipboard != m_listened) {
        m_listened = clipboard;
        connect(clipboard, &PortalClipboard::transferRequested, this, &PortalSelection::onTransfer);
    }
    return clipboard;
}

bool PortalSelection::lend(const QString& text)
{
    PortalClipboard* portal = clipboard();
    if (!portal)
        return false;
    if (!m_lent) {
        m_kept.clear();
        if (portal->sessionOwns()) {
            m_kept = m_served;  // what we offered last, given back before
        } else if (!ownContent(m_kept)) {
            const QDeadlineTimer deadline(kReadLimitMs);
            for (const QString& type : portal->ownerTypes()) {
                QByteArray bytes;
                if (!portal->read(type, bytes, int(qMax<qint64>(1, deadline.remainingTime())))) {
                    qCWarning(lcClipboard).noquote() << "the clipboard's" << type << "did not come in time: not kept";
                    continue;
                }
                m_kept.append(std::make_pair(type.toUtf8(), bytes));
            }
        }
    }
    m_lent = true;
    m_readSeen = false;
    offer(portal, textFormats(text));
    m_desktopCopyPending = true;
    return true;
}

bool PortalSelection::giveBack()
{
    m_lent = false;
    const Formats kept = std::exchange(m_kept, {});
    PortalClipboard* portal = clipboard();
    if (!portal || !portal->sessionOwns())
        return false;
    if (kept.isEmpty())
        return true;  // nothing to offer (the desktop takes no empty selection): the text stays
    offer(portal, kept);
    return true;
}

void PortalSelection::offer(PortalClipboard* portal, const Formats& formats)
{
    m_served = formats;
    QStringList types;
    for (const auto& format : formats)
        types << QString::fromUtf8(format.first);
    portal->setSelection(types);
}

// A client fetches what we offer: while lent, that is the paste.
void PortalSelection::onTransfer(const QString& mimeType, uint serial)
{
    qCDebug(lcClipboard) << "transfer" << serial << "of" << mimeType << (m_lent ? "(the lent text)" : "");
    if (m_listened)
        m_listened->write(serial, bytesFor(m_served, mimeType.toUtf8()));
    // The desktop's clipboard manager copies a new text selection at once (to keep it
    // when its owner leaves), before our keys reach anyone: that read is not the paste.
    if (std::exchange(m_desktopCopyPending, false))
        return;
    if (m_lent && !m_readSeen) {
        m_readSeen = true;
        emit read();
    }
}
