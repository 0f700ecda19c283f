#pragma once

#include "windowsinfo.h"

#include <QRectF>
#include <optional>

// Turns what a window system reports about one window into a listed record, the same
// way for every backend: title and process name lose surrounding spaces and tabs
// (line breaks stay), a window lacking either is not listed, and the frame becomes
// integers by truncation toward zero.
class WindowRecordFilter
{
public:
    static QString trimmed(const QString& text);
    static QRect toRect(const QRectF& frame);
    static std::optional<TovWindowControl::WindowsInfo> toRecord(const QString& title,
                                                               const QString& processName,
                                                               const QRectF& frame,
                                                               const QString& appId = {});
    // A title as log lines show it: at most kLoggedTitleLength characters, then how
    // long it really is (a hostile window may carry a title of megabytes).
    static QString forLog(const QString& title);
};
