#include "windowcontrol.h"

#include "windowcontrolconstants.h"
#include "windowcontrollog.h"
#include "windowrecordfilter.h"

#include <algorithm>

using TovWindowControl::WindowsInfo;

WindowControl::WindowControl(QObject* parent)
    : WindowControl(WindowBackend::create(), parent)
{
}

WindowControl::WindowControl(std::unique_ptr<WindowBackend> backend, QObject* parent)
    : InterfaceToWindowControl(parent)
    , m_backend(std::move(backend))
    , m_clock(&QTime::currentTime)
{
    if (!m_backend)
        m_backend = WindowBackend::create();
    qCDebug(lcWindowControl) << "window control backend:" << m_backend->name();
}

WindowControl::~WindowControl() = default;

void WindowControl::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(&QTime::currentTime);
}

QString WindowControl::backendName() const
{
    return m_backend->name();
}

WindowBackend::Missing WindowControl::missing() const
{
    return m_backend->missing();
}

// QTime wraps at midnight, so the age is taken modulo a day; a clock that went back
// gives a large age, and the snapshot is listed again rather than kept.
bool WindowControl::snapshotIsFresh() const
{
    const QTime now = m_clock();
    if (lastRefreshTime.isNull() || !now.isValid())
        return false;
    const int day = WindowControlConstants::kMsecsPerDay;
    const int age = (lastRefreshTime.msecsTo(now) + day) % day;
    return age <= WindowControlConstants::kSnapshotLifetimeMs;
}

void WindowControl::refresh()
{
    windowInfos.clear();
    m_backendIndex.clear();
    const QList<WindowBackend::Window> windows = m_backend->enumerate();
    for (int i = 0; i < windows.size(); ++i) {
        const WindowBackend::Window& window = windows.at(i);
        if (auto record = WindowRecordFilter::toRecord(window.title, window.processName, window.frame, window.appId)) {
            windowInfos.append(*record);
            m_backendIndex.append(i);
        } else {
            qCDebug(lcWindowControl) << "not listed, no title or process name:" << WindowRecordFilter::forLog(window.title)
                                     << window.processName;
        }
    }
    lastRefreshTime = m_clock();
}

QList<WindowsInfo> WindowControl::getAllWindowInfos()
{
    if (snapshotIsFresh()) {
        qCDebug(lcWindowControl) << "virtual QList<TovWindowControl::WindowsInfo> MacOS2WindowControl::getAllWindowInfos()"
                                 << "workaround for response time too long.";
        return windowInfos;
    }
    refresh();
    return windowInfos;
}

int WindowControl::getIndexOfWindowInfos(QList<WindowsInfo> list, QString title)
{
    list = getAllWindowInfos();
    const auto found = std::find_if(list.cbegin(), list.cend(),
                                    [&](const WindowsInfo& info) { return info.title == title; });
    if (found != list.cend())
        return int(found - list.cbegin());
    qCWarning(lcWindowControl)
        << "virtual int MacOS2WindowControl::getIndexOfWindowInfos(QList<TovWindowControl::WindowsInfo>, QString)"
        << "windows title:" << WindowRecordFilter::forLog(title) << "not found!";
    return -1;
}

void WindowControl::withWindow(const QString& title, const std::function<void(int)>& act)
{
    const int index = getIndexOfWindowInfos(windowInfos, title);
    if (index < 0)
        return;
    if (index >= m_backendIndex.size()) {
        qCWarning(lcWindowControl) << "window" << WindowRecordFilter::forLog(title) << "is not in the last listing";
        return;
    }
    act(m_backendIndex.at(index));
}

void WindowControl::setTargetWindowSize(QString title, const QSize& size)
{
    withWindow(title, [&](int index) { m_backend->setSize(index, size); });
}

void WindowControl::setTargetWindowLeftTopPosition(QString title, const QPoint& position)
{
    withWindow(title, [&](int index) { m_backend->setPosition(index, position); });
}

void WindowControl::closeTargetWindow(QString title)
{
    withWindow(title, [&](int index) { m_backend->close(index); });
}

void WindowControl::maximunTargetWindow(QString title)
{
    withWindow(title, [&](int index) { m_backend->maximize(index); });
}

void WindowControl::minimunTargetWindow(QString title)
{
    withWindow(title, [&](int index) { m_backend->minimize(index); });
}

// Where the window system applies requests later, the backend waits for them here. The
// window's new frame goes into the kept listing, so that the caller's next look shows it
// without listing every window again; where the backend cannot tell, the listing is dropped.
void WindowControl::resizeTargetWindow(QString title)
{
    if (!m_backend->appliesLater())
        return;
    withWindow(title, [&](int index) {
        QRectF frame;
        if (!m_backend->settle(index, &frame))
            return;
        const int record = int(m_backendIndex.indexOf(index));
        if (frame.isValid() && record >= 0)
            windowInfos[record].rect = WindowRecordFilter::toRect(frame);
        else
            lastRefreshTime = QTime();
    });
}

void WindowControl::getTargetWindowInformation(QString title)
{
    const int index = getIndexOfWindowInfos(windowInfos, title);
    if (index < 0 || index >= windowInfos.size()) {
        targetWindowTitle.clear();
        targetProcessName.clear();
        targetAppId.clear();
        targetWindowPosition = QPoint(0, 0);
        targetWindowSize = QSize();
        return;
    }
    const WindowsInfo& info = windowInfos.at(index);
    targetWindowTitle = info.title;
    targetProcessName = info.processName;
    targetAppId = info.appId;
    targetWindowSize = info.rect.size();
    targetWindowPosition = info.rect.topLeft();
}
