#include "keyeventlog.h"

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

QtMessageHandler& previousHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (context.category && qstrcmp(context.category, "systemdll.platform.keyboard.record") == 0) {
        const QJsonDocument sequence = QJsonDocument::fromJson(message.toUtf8());
        if (sequence.isArray()) {
            events().append(sequence.array());
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

} // namespace KeyEventLog
