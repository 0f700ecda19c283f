#include "keyeventlog.h"

#include "outputwriter.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtGlobal>

namespace KeyEventLog {
namespace {

QJsonArray& events()
{
    static QJsonArray collected;
    return collected;
}

QJsonArray& mediaEvents()
{
    static QJsonArray collected;
    return collected;
}

// The list that keeps the lines of a recording category, or null.
QJsonArray* listFor(const char* category)
{
    if (!category)
        return nullptr;
    if (qstrcmp(category, "systemdll.platform.keyboard.record") == 0)
        return &events();
    if (qstrcmp(category, "systemdll.platform.media.record") == 0)
        return &mediaEvents();
    return nullptr;
}

QtMessageHandler& previousHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // What the package's recording launcher would have opened: one "open" line each.
    if (context.category && qstrcmp(context.category, "systemdll.platform.launch.record") == 0) {
        const QJsonObject opened = QJsonDocument::fromJson(message.toUtf8()).object();
        if (!opened.isEmpty()) {
            OutputWriter::line({{"kind", "open"}, {"path", opened.value("path")}, {"what", opened.value("kind")}});
            return;
        }
    }
    // Keyboard sequences arrive as one array each, media keys as one object each.
    if (QJsonArray* list = listFor(context.category)) {
        const QJsonDocument logged = QJsonDocument::fromJson(message.toUtf8());
        if (logged.isArray() || logged.isObject()) {
            list->append(logged.isArray() ? QJsonValue(logged.array()) : QJsonValue(logged.object()));
            return;
        }
    }
    previousHandler()(type, context, message);
}

} // namespace

void install()
{
    previousHandler() = qInstallMessageHandler(handle);
}

QJsonArray take()
{
    QJsonArray taken = events();
    events() = QJsonArray();
    return taken;
}

QJsonArray takeMedia()
{
    QJsonArray taken = mediaEvents();
    mediaEvents() = QJsonArray();
    return taken;
}

} // namespace KeyEventLog
