#pragma once

#include <QJsonObject>
#include <QMap>
#include <QUndoCommand>

class Deck;

// One undoable change of the keys on one page: each touched slot's entry before and
// after (an empty entry is an empty slot). Undo and redo show that page first.
class DeckCommand : public QUndoCommand
{
public:
    using Entries = QMap<int, QJsonObject>;

    DeckCommand(Deck& deck, const Entries& after, const QString& text);

    // Puts `entry` (empty: nothing) into `slot` of the shown page.
    static DeckCommand* put(Deck& deck, int slot, const QJsonObject& entry, const QString& text);
    // Moves the key in `from` to `to`; a key in `to` goes to `from` (a swap).
    static DeckCommand* move(Deck& deck, int from, int to);

    void redo() override;
    void undo() override;

private:
    void apply(const Entries& entries);

    Deck& m_deck;
    int m_page;
    Entries m_before;
    Entries m_after;
};
