#include "clipboardloan.h"

#include "clipboardlog.h"
#include "clipboardsnapshot.h"
#include "pastemimedata.h"

#if defined(SYSTEMDLL_HAVE_XCB_CLIPBOARD)
#include "x11/x11ownerprobe.h"
#include "x11/x11selectionwatch.h"
#endif

#include <QClipboard>
#include <QGuiApplication>

namespace {

// What the clipboard holds now, with a text lent by any loan seen through to the
// content that text replaced.
const char* selectionName(QClipboard::Mode mode)
{
    return mode == QClipboard::Selection ? "PRIMARY" : "CLIPBOARD";
}

// Whether another program owns the selection and does not answer: Qt would wait 5 s
// for it, and then see no content.
bool ownerIsSilent(const QClipboard& clipboard, QClipboard::Mode mode)
{
#if defined(SYSTEMDLL_HAVE_XCB_CLIPBOARD)
    const bool ours = mode == QClipboard::Selection ? clipboard.ownsSelection() : clipboard.ownsClipboard();
    if (ours || QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    return X11OwnerProbe::ask(selectionName(mode), ClipboardLoan::kOwnerWaitMs) == X11OwnerProbe::Result::Silent;
#else
    Q_UNUSED(clipboard)
    Q_UNUSED(mode)
    return false;
#endif
}

std::unique_ptr<QMimeData> originalContent(const QClipboard& clipboard, QClipboard::Mode mode)
{
    const QMimeData* current = clipboard.mimeData(mode);
    if (const auto* lent = qobject_cast<const PasteMimeData*>(current))
        return ClipboardSnapshot::copy(lent->replaced(), ClipboardSnapshot::InProcess);
    const bool ours = mode == QClipboard::Selection ? clipboard.ownsSelection() : clipboard.ownsClipboard();
    return ClipboardSnapshot::copy(current, ours ? ClipboardSnapshot::InProcess : ClipboardSnapshot::Foreign);
}

} // namespace

ClipboardLoan::ClipboardLoan(QObject* parent)
    : ClipboardLoan(QClipboard::Clipboard, parent)
{
}

ClipboardLoan::ClipboardLoan(QClipboard::Mode mode, QObject* parent)
    : QObject(parent)
    , m_mode(mode)
{
    m_limit.setSingleShot(true);
    m_limit.setInterval(kTimeLimitMs);
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_limit, &QTimer::timeout, this, [this] { giveBack(Outcome::TimeLimit); });
    connect(&m_settle, &QTimer::timeout, this, [this] { giveBack(Outcome::Fetched); });
}

ClipboardLoan::~ClipboardLoan()
{
    if (isOpen() && !QCoreApplication::closingDown())
        giveBack(Outcome::Closed);
}

void ClipboardLoan::lend(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const bool silent = ownerIsSilent(*clipboard, m_mode);
    if (silent) {
        qCWarning(lcClipboard).noquote() << QStringLiteral("the %1 owner does not answer within %2 ms: its content "
                                                           "cannot be kept, the pasted text stays in its place")
                                                .arg(QString::fromLatin1(selectionName(m_mode)).toLower())
                                                .arg(kOwnerWaitMs);
    }
    if (!isOpen())
        m_originalLost = silent;
    auto* data = new PasteMimeData(text, silent ? std::make_unique<QMimeData>() : originalContent(*clipboard, m_mode));
    connect(data, &PasteMimeData::fetched, this, &ClipboardLoan::onLocalFetch);
    m_lent = data;
    m_read = false;
    m_settle.stop();
#if defined(SYSTEMDLL_HAVE_XCB_CLIPBOARD)
    m_watch = X11SelectionWatch::start(selectionName(m_mode), [this](bool fromTarget) { onRequest(fromTarget); });
#endif
    clipboard->setMimeData(data, m_mode);
    m_limit.start();
}

// A read in this process is the paste itself when the focus is ours (or we cannot
// tell where it is), unless Qt is answering a request the watch has judged.
void ClipboardLoan::onLocalFetch()
{
#if defined(SYSTEMDLL_HAVE_XCB_CLIPBOARD)
    if (m_answeringOther || (m_watch && m_watch->target() == X11SelectionWatch::Target::OtherClient))
        return;
#endif
    onFetch();
}

void ClipboardLoan::onRequest(bool fromTarget)
{
    if (fromTarget) {
        onFetch();
        return;
    }
    // Qt reads our content for that client before control returns to the event loop.
    m_answeringOther = true;
    QTimer::singleShot(0, this, [this] { m_answeringOther = false; });
}

void ClipboardLoan::onFetch()
{
    if (!isOpen())
        return;
    m_settle.start();
    if (!m_read) {
        m_read = true;
        emit read();
    }
}

bool ClipboardLoan::targetInProcess() const
{
#if defined(SYSTEMDLL_HAVE_XCB_CLIPBOARD)
    return !m_watch || m_watch->target() != X11SelectionWatch::Target::OtherClient;
#else
    return true;
#endif
}

void ClipboardLoan::giveBack(Outcome outcome)
{
    m_limit.stop();
    m_settle.stop();
    m_watch.reset();
    QClipboard* clipboard = QGuiApplication::clipboard();
    // On X11 this asks the server who owns the selection now.
    if (!m_lent || clipboard->mimeData(m_mode) != m_lent.data()) {
        qCDebug(lcClipboard) << "clipboard taken over by another owner: left as it is";
        m_lent.clear();
        emit returned(Outcome::TakenOver);
        return;
    }
    std::unique_ptr<QMimeData> original = ClipboardSnapshot::copy(m_lent->replaced(), ClipboardSnapshot::InProcess);
    if (m_originalLost) {
        // Nothing to give back: the text stays, rather than an empty clipboard.
        original = std::make_unique<QMimeData>();
        original->setText(m_lent->text());
        m_originalLost = false;
    }
    m_lent.clear();
    if (ClipboardSnapshot::isEmpty(original.get()))
        clipboard->clear(m_mode);
    else
        clipboard->setMimeData(original.release(), m_mode);
    qCDebug(lcClipboard) << "clipboard given back:" << outcome;
    emit returned(outcome);
}
