#pragma once

#include "appmatch.h"
#include "focussource.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QVector>
#include <optional>

class Deck;
class HostSession;

// Shows the page that names the focused application (the first, if several do); when
// the focus goes to an application no page names, the page the user chose last by hand
// comes back. Acts on focus changes only, so a page chosen by hand stays until the
// next one; the host's own windows are no change. While a multi-action key of the
// shown page runs, the page stays; the last focus change is followed at its end.
class PageFollower : public QObject
{
    Q_OBJECT
public:
    // Follows the focus through the session's source (see FocusSource::create).
    explicit PageFollower(HostSession& session, QObject* parent = nullptr);
    // Follows `source` (taken over; nullptr: nothing to follow).
    PageFollower(HostSession& session, FocusSource* source, QObject* parent = nullptr);

    bool available() const { return m_source != nullptr; }
    FocusSource* source() const { return m_source; }
    // The page `window` calls for: the first that names it, else the hand-chosen one.
    int pageFor(const FocusedWindow& window);

signals:
    // The deck changed page for the focused `window`.
    void followed(int page, const FocusedWindow& window);

private:
    void watchDeck();
    void markStale();
    void followWaiting();
    void follow(const FocusedWindow& window);

    HostSession& m_session;
    QPointer<FocusSource> m_source;
    QVector<AppMatch> m_matches;  // by page, read again after a change of the deck
    bool m_stale = true;
    QSet<QString> m_told;  // problems of pages' fields, logged once each
    std::optional<FocusedWindow> m_waiting;  // focused during a multi-action run
};
