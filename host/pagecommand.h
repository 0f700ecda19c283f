#pragma once

#include <QJsonObject>
#include <QUndoCommand>

class Deck;

// Removing a page with its keys, undoable: undo puts the page back where it was, with
// every key as it was stored, and shows it.
class PageCommand : public QUndoCommand
{
public:
    PageCommand(Deck& deck, int page, const QString& text);

    void redo() override;
    void undo() override;

private:
    Deck& m_deck;
    int m_page;
    QJsonObject m_data;
};
