#include "windowrecordfilter.h"

#include "windowcontrolconstants.h"

#include <QtMath>
#include <cmath>

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

// Truncation toward zero; NaN counts as 0 and huge values are clamped first, since
// converting an out-of-range double to int is undefined.
int truncated(double value)
{
    if (!qIsFinite(value))
        return 0;
    const double limit = WindowControlConstants::kMaxCoordinate;
    return static_cast<int>(std::trunc(qBound(-limit, value, limit)));
}

} // namespace

QString WindowRecordFilter::trimmed(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QRect WindowRecordFilter::toRect(const QRectF& frame)
{
    return QRect(truncated(frame.x()), truncated(frame.y()), truncated(frame.width()), truncated(frame.height()));
}

std::optional<TovWindowControl::WindowsInfo> WindowRecordFilter::toRecord(const QString& title,
                                                                        const QString& processName,
                                                                        const QRectF& frame,
                                                                        const QString& appId)
{
    TovWindowControl::WindowsInfo record;
    record.title = trimmed(title);
    record.processName = trimmed(processName);
    if (record.title.isEmpty() || record.processName.isEmpty())
        return std::nullopt;
    record.rect = toRect(frame);
    record.appId = trimmed(appId);
    return record;
}

QString WindowRecordFilter::forLog(const QString& title)
{
    const qsizetype limit = WindowControlConstants::kLoggedTitleLength;
    if (title.size() <= limit)
        return title;
    return QStringLiteral("%1... (%2 characters)").arg(title.left(limit)).arg(title.size());
}
