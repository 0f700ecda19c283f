#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>

// The clipboard of a RemoteDesktop portal session (org.freedesktop.portal.Clipboard):
// follows who owns the selection (from the moment the clipboard is asked for, before the
// session starts), offers types of ours and answers the desktop's transfers, reads the
// owner's content. PortalSession owns it; the clipboard service lends through it.
class PortalClipboard final : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTransferLimitMs = 5000;  // the desktop's answer to our write
    static constexpr qsizetype kMaxFormatBytes = 64 << 20;

    PortalClipboard(const QDBusConnection& bus, const QString& session, QObject* parent);

    // The types the selection's owner offers, and whether that owner is our session.
    QStringList ownerTypes() const { return m_ownerTypes; }
    bool sessionOwns() const { return m_sessionOwns; }

    // Makes our session the owner, offering `types` (none: an empty selection).
    void setSelection(const QStringList& types);
    // One type of the owner's content, read within `deadlineMs`; false when it did not
    // come whole in time.
    bool read(const QString& type, QByteArray& out, int deadlineMs);
    // Answers a transfer request with `bytes`, without waiting.
    void write(uint serial, const QByteArray& bytes);

signals:
    // A client reads what our session offers.
    void transferRequested(const QString& mimeType, uint serial);

private slots:
    void onTransfer(const QDBusObjectPath& session, const QString& mimeType, uint serial);
    void onOwnerChanged(const QDBusObjectPath& session, const QVariantMap& options);

private:
    QDBusConnection m_bus;
    QString m_session;
    QStringList m_ownerTypes;
    bool m_sessionOwns = false;
    // After our own SetSelection, owner changes announced before it are stale.
    bool m_awaitingOwn = false;
};
