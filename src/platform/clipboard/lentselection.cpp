#include "lentselection.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

LentSelection::Formats LentSelection::textFormats(const QString& text)
{
    static const char* const kTextTypes[] = {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "TEXT",
                                             "STRING"};
    Formats formats;
    for (const char* type : kTextTypes)
        formats.append(std::make_pair(QByteArray(type), text.toUtf8()));
    return formats;
}

bool LentSelection::ownContent(Formats& out)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || !clipboard->ownsClipboard())
        return false;
    if (const QMimeData* data = clipboard->mimeData()) {
        for (const QString& type : data->formats())
            out.append(std::make_pair(type.toUtf8(), data->data(type)));
    }
    return true;
}

QByteArray LentSelection::bytesFor(const Formats& formats, const QByteArray& type)
{
    for (const auto& format : formats) {
        if (format.first == type)
            return format.second;
    }
    return {};
}
