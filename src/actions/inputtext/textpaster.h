#pragma once

#include "platform/clipboard/clipboardloan.h"

#include <QObject>
#include <QVector>

// Types a text into the application that has the keyboard focus: lends the text to
// the clipboard, posts the paste chord, waits until the target has read the text
// (kPasteWaitMs at most) and presses the keypad Enter key when asked. The wait keeps
// answering the clipboard's requests (another X client fetches the text from us). A
// paste asked for during the wait follows when the current one is done.
// Terminals take no Ctrl+V: one (by its window class) gets Shift+Insert, which every
// terminal pastes with, from the clipboard or the primary selection, both lent.
class TextPaster : public QObject
{
    Q_OBJECT
public:
    // The wait for the target's read, where none is seen.
    static constexpr int kPasteWaitMs = 100;

    explicit TextPaster(QObject* parent = nullptr);

    void paste(const QString& text, bool pressEnter);
    const ClipboardLoan& loan() const { return m_loan; }
    const ClipboardLoan& selectionLoan() const { return m_selectionLoan; }

    // Whether a window of these WM_CLASS names is a terminal emulator.
    static bool isTerminal(const QStringList& windowClass);

private:
    struct Request
    {
        QString text;
        bool pressEnter = false;
    };
    // False when the paster was destroyed during the wait.
    bool pasteOne(const Request& request);

    ClipboardLoan m_loan;
    ClipboardLoan m_selectionLoan;
    QVector<Request> m_queue;
    bool m_busy = false;
};
