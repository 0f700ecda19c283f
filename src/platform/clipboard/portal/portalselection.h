#pragma once

#include "platform/clipboard/lentselection.h"

#include <QPointer>

#include <memory>

class PortalClipboard;
class PortalSession;

// Sets the clipboard through the RemoteDesktop portal's session that the keys go
// through (GNOME): our session offers the text, a client's read arrives as a transfer
// request that we answer. The user's content is read through the portal before ours
// replaces it, every type within kReadLimitMs.
class PortalSelection final : public LentSelection
{
    Q_OBJECT
public:
    static constexpr int kReadLimitMs = 1000;  // two hops: the portal, then the desktop

    // Null unless the keys go through a portal session that may have the clipboard.
    static std::unique_ptr<PortalSelection> open();
    explicit PortalSelection(PortalSession* session);

    // Whether the session has started (with its clipboard or without); when not, it is
    // started, and `prepared` follows once it has, or has failed.
    bool prepare();
    bool lend(const QString& text) override;
    bool giveBack() override;

signals:
    void prepared();

private:
    PortalClipboard* clipboard();
    void offer(PortalClipboard* clipboard, const Formats& formats);
    void onTransfer(const QString& mimeType, uint serial);

    QPointer<PortalSession> m_session;
    QPointer<PortalClipboard> m_listened;
    Formats m_served;
    Formats m_kept;
    bool m_lent = false;
    bool m_readSeen = false;
    bool m_desktopCopyPending = false;  // the first read of the lent text is the desktop's
};
