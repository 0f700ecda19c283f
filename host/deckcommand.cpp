#include "deckcommand.h"

#include "deck.h"

#include <QCoreApplication>

DeckCommand::DeckCommand(Deck& deck, const Entries& after, const QString& text)
    : QUndoCommand(text)
    , m_deck(deck)
    , m_page(deck.currentPage())
    , m_after(after)
{
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        m_before.insert(it.key(), deck.entry(it.key()));
}

DeckCommand* DeckCommand::put(Deck& deck, int slot, const QJsonObject& entry, const QString& text)
{
    return new DeckCommand(deck, {{slot, entry}}, text);
}

DeckCommand* DeckCommand::move(Deck& deck, int from, int to)
{
    const bool swap = !deck.entry(to).isEmpty();
    return new DeckCommand(deck, {{from, deck.entry(to)}, {to, deck.entry(from)}},
                           swap ? QCoreApplication::translate("DeckCommand", "Swap keys")
                                : QCoreApplication::translate("DeckCommand", "Move key"));
}

void DeckCommand::apply(const Entries& entries)
{
    QString error;
    m_deck.setCurrentPage(m_page, &error);
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        m_deck.setEntry(it.key(), it.value());
}

void DeckCommand::redo()
{
    apply(m_after);
}

void DeckCommand::undo()
{
    apply(m_before);
}
