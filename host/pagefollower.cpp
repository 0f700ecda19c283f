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

void PageFollower::follow(const FocusedWindow& window)
{
    Deck& deck = m_session.deck();
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
