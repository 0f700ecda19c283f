#include "textpaster.h"

#include "actions/common/actionslog.h"
#include "platform/clipboard/focusedwindow.h"
#include "platform/keyboard/keyboardeventservice.h"

#include <QClipboard>
#include <QGuiApplication>
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

const KeyEventSequence& terminalPasteChord()
{
    static const KeyEventSequence chord = {
        KeyEvent::press(PcKeyCode::kInsert).withFlags(KeyEvent::ShiftFlag),
        KeyEvent::release(PcKeyCode::kInsert),
    };
    return chord;
}

// Terminal emulators by their WM_CLASS names, in lower case.
const char* const kTerminals[] = {
    "xterm", "uxterm", "rxvt", "urxvt", "urxvt-unicode", "aterm", "eterm", "st", "st-256color",
    "gnome-terminal", "gnome-terminal-server", "org.gnome.terminal", "kgx", "org.gnome.console",
    "ptyxis", "org.gnome.ptyxis", "mate-terminal", "xfce4-terminal", "lxterminal", "qterminal",
    "konsole", "org.kde.konsole", "yakuake", "kitty", "alacritty", "org.alacritty", "foot", "footclient",
    "wezterm", "org.wezfurlong.wezterm", "terminator", "tilix", "com.gexperts.tilix", "terminology",
    "sakura", "guake", "tilda", "roxterm", "deepin-terminal", "cool-retro-term", "hyper", "tabby",
    "contour", "blackbox", "com.raggesilver.blackbox", "ghostty", "com.mitchellh.ghostty", "warp",
};

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
void waitForRead(const ClipboardLoan& loan, const ClipboardLoan* selection, int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    QObject::connect(&loan, &ClipboardLoan::read, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    if (selection)
        QObject::connect(selection, &ClipboardLoan::read, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    loop.exec(loan.targetInProcess() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

} // namespace

TextPaster::TextPaster(QObject* parent)
    : QObject(parent)
    , m_selectionLoan(QClipboard::Selection, nullptr)
{
}

bool TextPaster::isTerminal(const QStringList& windowClass)
{
    for (const QString& name : windowClass) {
        const QByteArray lower = name.toLower().toUtf8();
        for (const char* terminal : kTerminals) {
            if (lower == terminal)
                return true;
        }
    }
    return false;
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
    const QStringList windowClass = FocusedWindow::windowClass();
    const bool terminal = isTerminal(windowClass);
    const bool withSelection = terminal && QGuiApplication::clipboard()->supportsSelection();
    if (terminal)
        qCDebug(lcActions) << "[TextPaster] the focus is in a terminal:" << windowClass;
    m_loan.lend(request.text);
    if (withSelection)
        m_selectionLoan.lend(request.text);
    KeyboardEventService::instance()->post(terminal ? terminalPasteChord() : pasteChord());
    const QPointer<TextPaster> alive(this);
    waitForRead(m_loan, withSelection ? &m_selectionLoan : nullptr, kPasteWaitMs);
    if (!alive)
        return false;
    if (request.pressEnter)
        KeyboardEventService::instance()->post(enterKey());
    return true;
}
