#pragma once

#include "platform/windowcontrol/windowbackend.h"

// Lists no windows, so no title is ever found and no action reaches a window. Used
// where no window system can be reached.
class EmptyWindowBackend final : public WindowBackend
{
public:
    explicit EmptyWindowBackend(Missing missing = Missing::Nothing) : m_missing(missing) {}
    Missing missing() const override { return m_missing; }
    QString name() const override;
    QList<Window> enumerate() override;
    bool setSize(int index, const QSize& size) override;
    bool setPosition(int index, const QPoint& position) override;
    bool close(int index) override;
    bool maximize(int index) override;
    bool minimize(int index) override;

private:
    Missing m_missing;
};
