#include "jsonsummary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

namespace {

QString quoted(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

void write(QString& out, const QJsonValue& value, int depth)
{
    if (out.size() > JsonSummary::kMaxChars)
        return;
    switch (value.type()) {
    case QJsonValue::Object: {
        if (depth >= JsonSummary::kMaxDepth) {
            out += QLatin1String("{...}");
            return;
        }
        const QJsonObject object = value.toObject();
        out += QLatin1Char('{');
        for (auto it = object.begin(); it != object.end() && out.size() <= JsonSummary::kMaxChars; ++it) {
            if (it != object.begin())
                out += QLatin1Char(',');
            out += quoted(it.key()) + QLatin1Char(':');
            write(out, it.value(), depth + 1);
        }
        out += QLatin1Char('}');
        return;
    }
    case QJsonValue::Array: {
        if (depth >= JsonSummary::kMaxDepth) {
            out += QLatin1String("[...]");
            return;
        }
        const QJsonArray array = value.toArray();
        out += QLatin1Char('[');
        for (qsizetype i = 0; i < array.size() && out.size() <= JsonSummary::kMaxChars; ++i) {
            if (i > 0)
                out += QLatin1Char(',');
            write(out, array.at(i), depth + 1);
        }
        out += QLatin1Char(']');
        return;
    }
    case QJsonValue::String: out += quoted(value.toString()); return;
    case QJsonValue::Double: out += QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest); return;
    case QJsonValue::Bool: out += value.toBool() ? QLatin1String("true") : QLatin1String("false"); return;
    case QJsonValue::Null: out += QLatin1String("null"); return;
    case QJsonValue::Undefined: out += QLatin1String("undefined"); return;
    }
}

} // namespace

QString JsonSummary::of(const QJsonValue& value)
{
    QString out;
    write(out, value, 0);
    if (out.size() > kMaxChars) {
        out.truncate(kMaxChars);
        out += QLatin1String("...");
    }
    return out;
}
