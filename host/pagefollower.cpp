#include "pagefollower.h"

#include "hostlog.h"
#include "hostsession.h"

PageFollower::PageFollower(HostSession& session, QObject* parent)
    : PageFollower(session, FocusSource::create(), parent)
{
}

PageFollower::PageFollower(HostSession& session, FocusSource* source, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_source(source)
{
    if (m_source) {
        m_source->setParent(this);
        connect(m_source, &FocusSource::focusChanged, this, &PageFollower::follow);
    }
    connect(&m_session, &HostSession::deckReplaced, this, &PageFollower::watchDeck);
    watchDeck();
}

void PageFollower::markStale()
{
    m_stale = true;
}

void PageFollower::watchDeck()
{
    m_stale = true;
    // Pages added, moved or removed, and their applications, are read again when needed.
    connect(&m_session.deck(), &Deck::changed, this, &PageFollower::markStale, Qt::UniqueConnection);
    connect(&m_session.deck(), &Deck::runFinished, this, &PageFollower::followWaiting, Qt::UniqueConnection);
}

int PageFollower::pageFor(const FocusedWindow& window)
{
    Deck& deck = m_session.deck();
    if (m_stale || m_matches.size() != deck.pageCount()) {
        m_matches.clear();
        for (int page = 0; page < deck.pageCount(); ++page) {
            QString problem;
            m_matches.append(AppMatch::fromPage(deck.pageSettings(page), &problem));
            const QString told = QStringLiteral("page %1: %2").arg(page + 1).arg(problem);
            if (!problem.isEmpty() && !m_told.contains(told)) {
                m_told.insert(told);
                qCWarning(lcHost).noquote() << told << "; the page follows no application (kept in the profile)";
            }
        }
        m_stale = false;
    }
    for (int page = 0; page < m_matches.size(); ++page) {
        if (m_matches[page].matches(window))
            return page;
    }
    return deck.handPage();
}

void PageFollower::followWaiting()
{
    if (m_waiting)
        follow(*std::exchange(m_waiting, std::nullopt));
}

void PageFollower::follow(const FocusedWindow& window)
{
    Deck& deck = m_session.deck();
    // A multi-action key of the shown page that runs (and opens or focuses windows)
    // would stop if its page went: the last focus change waits for the run's end.
    for (int slot = 0; slot < deck.slotCount(); ++slot) {
        if (deck.isRunning(slot)) {
            m_waiting = window;
            return;
        }
    }
    m_waiting.reset();
    const int page = pageFor(window);
    if (page == deck.currentPage())
        return;
    QString error;
    if (!deck.followPage(page, &error)) {
        qCWarning(lcHost).noquote() << "cannot show the page of" << window.name() << ":" << error;
        return;
    }
    emit followed(page, window);
}
