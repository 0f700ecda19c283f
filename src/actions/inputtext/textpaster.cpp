#include "textpaster.h"

#include "actions/common/actionslog.h"
#include "platform/keyboard/keyboardeventservice.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>

namespace {

const KeyEventSequence& pasteChord()
{
    static const KeyEventSequence chord = {
        KeyEvent::press(MacKeyCode::kV).withFlags(KeyEvent::CommandFlag),
        KeyEvent::release(MacKeyCode::kV),
    };
    return chord;
}

const KeyEventSequence& enterKey()
{
    static const KeyEventSequence enter = {
        KeyEvent::press(MacKeyCode::kKeypadEnter),
        KeyEvent::release(MacKeyCode::kKeypadEnter),
    };
    return enter;
}

// Waits until the target has read the text (after Qt has answered it, so that a key
// posted next reaches the target behind the text), at most `ms`. A target of our own
// takes the paste as user input, which then has to come through; for another
// program's window our user input waits.
void waitForRead(const ClipboardLoan& loan, int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    QObject::connect(&loan, &ClipboardLoan::read, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    loop.exec(loan.targetInProcess() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

} // namespace

TextPaster::TextPaster(QObject* parent)
    : QObject(parent)
{
}

void TextPaster::paste(const QString& text, bool pressEnter)
{
    m_queue.append({text, pressEnter});
    if (m_busy) {
        qCDebug(lcActions) << "[TextPaster] paste queued behind the running one";
        return;
    }
    m_busy = true;
    while (!m_queue.isEmpty()) {
        if (!pasteOne(m_queue.takeFirst()))
            return;
    }
    m_busy = false;
}

bool TextPaster::pasteOne(const Request& request)
{
    qCDebug(lcActions) << "[TextPaster] paste" << request.text.size() << "characters, Enter:" << request.pressEnter;
    m_loan.lend(request.text);
    KeyboardEventService::instance()->post(pasteChord());
    const QPointer<TextPaster> alive(this);
    waitForRead(m_loan, kPasteWaitMs);
    if (!alive)
        return false;
    if (request.pressEnter)
        KeyboardEventService::instance()->post(enterKey());
    return true;
}
