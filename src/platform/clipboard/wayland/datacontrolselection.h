#pragma once

#include "platform/clipboard/lentselection.h"

#include <QSocketNotifier>

#include <memory>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_data_control_manager_v1;
struct zwlr_data_control_device_v1;
struct zwlr_data_control_offer_v1;
struct zwlr_data_control_source_v1;

// Sets the clipboard of a Wayland session without the keyboard focus, through the
// compositor's data control (zwlr_data_control_v1: wlroots compositors, KDE), on a
// connection of its own served from the event loop. What the clipboard held is kept
// every format of it, read before ours replaces it.
class DataControlSelection final : public LentSelection
{
    Q_OBJECT
public:
    static constexpr int kReadLimitMs = 500;           // for reading the user's clipboard
    static constexpr qsizetype kMaxFormatBytes = 64 << 20;

    // Null when no Wayland display is reachable or it offers no data control.
    static std::unique_ptr<DataControlSelection> open();
    ~DataControlSelection() override;

    bool lend(const QString& text) override;
    bool giveBack() override;

private:
    DataControlSelection() = default;
    bool connect();
    void dispatch();
    Formats readCurrent();
    void offer(const Formats& formats);
    void onSend(zwlr_data_control_source_v1* source, const char* mimeType, int fd);
    void onCancelled(zwlr_data_control_source_v1* source);
    void onSelection(zwlr_data_control_offer_v1* offer);
    static const struct zwlr_data_control_source_v1_listener s_sourceListener;
    static const struct zwlr_data_control_device_v1_listener s_deviceListener;
    static const struct zwlr_data_control_offer_v1_listener s_offerListener;

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    zwlr_data_control_manager_v1* m_manager = nullptr;
    zwlr_data_control_device_v1* m_device = nullptr;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QVector<std::pair<zwlr_data_control_offer_v1*, QVector<QByteArray>>> m_offers;  // offers and their types
    zwlr_data_control_offer_v1* m_current = nullptr;   // the clipboard's content as offered to us
    zwlr_data_control_source_v1* m_source = nullptr;   // ours: the lent text, then the given-back content
    Formats m_served;                                  // what m_source offers
    Formats m_kept;                                    // the user's content, while lent
    bool m_lent = false;
    bool m_readSeen = false;
};
