#pragma once

#include "platform/windowcontrol/windowbackend.h"

// The window backend of macOS: the process-wide bridge to the maker's framework.
// The bridge already lists only usable windows, so index i here is record i there.
class MacWindowBackend final : public WindowBackend
{
public:
    QString name() const override;
    QList<Window> enumerate() override;
    bool setSize(int index, const QSize& size) override;
    bool setPosition(int index, const QPoint& position) override;
    bool close(int index) override;
    bool maximize(int index) override;
    bool minimize(int index) override;
};
