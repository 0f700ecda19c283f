#include "datacontrolselection.h"

#include "platform/clipboard/clipboardlog.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <QDeadlineTimer>

#include <wayland-client.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Reads a pipe to its end, or until the deadline; false when it did not end in time.
bool readAll(int fd, QByteArray& out, const QDeadlineTimer& deadline)
{
    char buffer[65536];
    while (out.size() <= DataControlSelection::kMaxFormatBytes) {
        pollfd in{fd, POLLIN, 0};
        const int ready = poll(&in, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        if (ready <= 0)
            return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return false;
        if (n > 0)
            out.append(buffer, n);
    }
    return false;
}

void writeAll(int fd, const QByteArray& bytes)
{
    const int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;  // the reader went away
        done += n;
    }
    close(fd);
}

} // namespace

const zwlr_data_control_source_v1_listener DataControlSelection::s_sourceListener = {
    [](void* data, zwlr_data_control_source_v1* source, const char* mimeType, int32_t fd) {
        static_cast<DataControlSelection*>(data)->onSend(source, mimeType, fd);
    },
    [](void* data, zwlr_data_control_source_v1* source) {
        static_cast<DataControlSelection*>(data)->onCancelled(source);
    },
};

const zwlr_data_control_offer_v1_listener DataControlSelection::s_offerListener = {
    [](void* data, zwlr_data_control_offer_v1* offer, const char* mimeType) {
        auto* self = static_cast<DataControlSelection*>(data);
        for (auto& known : self->m_offers) {
            if (known.first == offer)
                known.second << QByteArray(mimeType);
        }
    },
};

const zwlr_data_control_device_v1_listener DataControlSelection::s_deviceListener = {
    [](void* data, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
        auto* self = static_cast<DataControlSelection*>(data);
        self->m_offers.append(std::make_pair(offer, QVector<QByteArray>()));
        zwlr_data_control_offer_v1_add_listener(offer, &s_offerListener, self);
    },
    [](void* data, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
        static_cast<DataControlSelection*>(data)->onSelection(offer);
    },
    [](void* data, zwlr_data_control_device_v1*) {
        qCWarning(lcClipboard) << "the compositor ended our clipboard control";
        static_cast<DataControlSelection*>(data)->m_device = nullptr;
    },
    [](void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1*) {},  // primary selection: not asked for
};

std::unique_ptr<DataControlSelection> DataControlSelection::open()
{
    std::unique_ptr<DataControlSelection> selection(new DataControlSelection());
    if (!selection->connect())
        return nullptr;
    return selection;
}

bool DataControlSelection::connect()
{
    m_display = wl_display_connect(nullptr);
    if (!m_display)
        return false;
    static const wl_registry_listener listener = {
        [](void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
            auto* self = static_cast<DataControlSelection*>(data);
            if (!self->m_seat && std::strcmp(interface, wl_seat_interface.name) == 0)
                self->m_seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
            else if (!self->m_manager && std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
                self->m_manager = static_cast<zwlr_data_control_manager_v1*>(
                    wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
        },
        [](void*, wl_registry*, uint32_t) {},
    };
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &listener, this);
    if (wl_display_roundtrip(m_display) < 0 || !m_seat || !m_manager)
        return false;
    m_device = zwlr_data_control_manager_v1_get_data_device(m_manager, m_seat);
    zwlr_data_control_device_v1_add_listener(m_device, &s_deviceListener, this);
    if (wl_display_roundtrip(m_display) < 0)
        return false;
    m_notifier = std::make_unique<QSocketNotifier>(wl_display_get_fd(m_display), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, this, &DataControlSelection::dispatch);
    return true;
}

DataControlSelection::~DataControlSelection()
{
    m_notifier.reset();
    for (const auto& offer : qAsConst(m_offers))
        zwlr_data_control_offer_v1_destroy(offer.first);
    if (m_source)
        zwlr_data_control_source_v1_destroy(m_source);
    if (m_device)
        zwlr_data_control_device_v1_destroy(m_device);
    if (m_manager)
        zwlr_data_control_manager_v1_destroy(m_manager);
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    if (m_display) {
        wl_display_flush(m_display);
        wl_display_disconnect(m_display);
    }
}

// Takes what the compositor sent, without waiting, and hands our requests over.
void DataControlSelection::dispatch()
{
    while (wl_display_prepare_read(m_display) != 0)
        wl_display_dispatch_pending(m_display);
    wl_display_flush(m_display);
    pollfd in{wl_display_get_fd(m_display), POLLIN, 0};
    if (poll(&in, 1, 0) > 0)
        wl_display_read_events(m_display);
    else
        wl_display_cancel_read(m_display);
    wl_display_dispatch_pending(m_display);
}

bool DataControlSelection::lend(const QString& text)
{
    if (!m_device)
        return false;
    wl_display_roundtrip(m_display);  // the clipboard as it is now
    if (!m_lent)
        m_kept = readCurrent();
    m_lent = true;
    m_readSeen = false;
    offer(textFormats(text));
    // The paste chord comes through another connection: the compositor must have
    // taken our selection before it.
    wl_display_roundtrip(m_display);
    return true;
}

bool DataControlSelection::giveBack()
{
    dispatch();
    m_lent = false;
    const Formats kept = std::exchange(m_kept, {});
    if (!m_source)
        return false;
    offer(kept);
    return true;
}

DataControlSelection::Formats DataControlSelection::readCurrent()
{
    Formats formats;
    if (ownContent(formats))
        return formats;
    QVector<QByteArray> types;
    for (const auto& offer : qAsConst(m_offers)) {
        if (offer.first == m_current)
            types = offer.second;
    }
    const QDeadlineTimer deadline(kReadLimitMs);
    for (const QByteArray& type : qAsConst(types)) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            break;
        zwlr_data_control_offer_v1_receive(m_current, type.constData(), fds[1]);
        wl_display_flush(m_display);
        close(fds[1]);
        QByteArray bytes;
        const bool complete = readAll(fds[0], bytes, deadline);
        close(fds[0]);
        if (!complete) {
            qCWarning(lcClipboard).noquote() << "the clipboard's" << type << "did not come in time: not kept";
            continue;
        }
        formats.append(std::make_pair(type, bytes));
    }
    return formats;
}

void DataControlSelection::offer(const Formats& formats)
{
    zwlr_data_control_source_v1* previous = std::exchange(m_source, nullptr);
    m_served = formats;
    if (!formats.isEmpty() && m_device) {
        m_source = zwlr_data_control_manager_v1_create_data_source(m_manager);
        zwlr_data_control_source_v1_add_listener(m_source, &s_sourceListener, this);
        for (const auto& format : formats)
            zwlr_data_control_source_v1_offer(m_source, format.first.constData());
    }
    if (m_device)
        zwlr_data_control_device_v1_set_selection(m_device, m_source);
    if (previous)
        zwlr_data_control_source_v1_destroy(previous);
    wl_display_flush(m_display);
}

// A client fetches what we offer: while lent, that is the paste.
void DataControlSelection::onSend(zwlr_data_control_source_v1* source, const char* mimeType, int fd)
{
    writeAll(fd, bytesFor(m_served, mimeType));
    if (source == m_source && m_lent && !m_readSeen) {
        m_readSeen = true;
        emit read();
    }
}

void DataControlSelection::onCancelled(zwlr_data_control_source_v1* source)
{
    if (source == m_source)
        m_source = nullptr;
    zwlr_data_control_source_v1_destroy(source);
}

void DataControlSelection::onSelection(zwlr_data_control_offer_v1* offer)
{
    m_current = offer;
    for (auto it = m_offers.begin(); it != m_offers.end();) {
        if (it->first == offer) {
            ++it;
            continue;
        }
        zwlr_data_control_offer_v1_destroy(it->first);
        it = m_offers.erase(it);
    }
}
