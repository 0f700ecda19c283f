#pragma once

#include <QClipboard>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>

class PasteMimeData;
class X11SelectionWatch;

// Lends the system clipboard (or the X11 primary selection) to a text for one paste
// and gives it back: the content it held before returns, every format of it, once
// the paste target has read the text, or after a time limit when no read is seen.
// When another owner has taken the clipboard in between, its content stays. Giving
// back happens at the latest when the loan is destroyed.
class ClipboardLoan final : public QObject
{
    Q_OBJECT
public:
    enum class Outcome { Fetched, TimeLimit, TakenOver, Closed };
    Q_ENUM(Outcome)

    static constexpr int kTimeLimitMs = 1000;
    // After a read, how long to wait for further reads of the same paste (a target
    // may ask for several formats one after another).
    static constexpr int kSettleMs = 50;
    // How long another program that owns the clipboard has to answer before its
    // content is given up as lost.
    static constexpr int kOwnerWaitMs = 250;

    explicit ClipboardLoan(QObject* parent = nullptr);
    ClipboardLoan(QClipboard::Mode mode, QObject* parent);
    ~ClipboardLoan() override;

    // Puts the text on the clipboard. Lending again before the last loan ended keeps
    // the original content as the one to give back.
    void lend(const QString& text);
    bool isOpen() const { return !m_lent.isNull(); }
    // Whether the paste target is one of our own windows (or cannot be told apart):
    // its paste then needs our event loop to take user input.
    bool targetInProcess() const;

signals:
    // The paste target has read the lent text (once per loan, before it is given back).
    void read();
    void returned(ClipboardLoan::Outcome outcome);

private:
    void onLocalFetch();
    void onRequest(bool fromTarget);
    void onFetch();
    void giveBack(Outcome outcome);

    QClipboard::Mode m_mode = QClipboard::Clipboard;
    QPointer<PasteMimeData> m_lent;
    std::unique_ptr<X11SelectionWatch> m_watch;
    QTimer m_limit;
    QTimer m_settle;
    bool m_answeringOther = false;  // Qt is answering a client that is not the target
    bool m_read = false;
    bool m_originalLost = false;  // its owner did not answer: nothing to give back
};
