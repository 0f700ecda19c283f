#include "pagecommand.h"

#include "deck.h"
#include "hostlog.h"

PageCommand::PageCommand(Deck& deck, int page, const QString& text)
    : QUndoCommand(text)
    , m_deck(deck)
    , m_page(page)
    , m_data(deck.pageData(page))
{
}

void PageCommand::redo()
{
    QString error;
    if (!m_deck.removePage(m_page, &error))
        qCWarning(lcHost).noquote() << error;
}

void PageCommand::undo()
{
    QString error;
    if (!m_deck.insertPage(m_page, m_data, &error) || !m_deck.setCurrentPage(m_page, &error))
        qCWarning(lcHost).noquote() << error;
}
