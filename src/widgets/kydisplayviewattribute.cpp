#include "kydisplayviewattribute.h"

#include "widgets/base/widgetslog.h"

#include <QDebug>
#include <QJsonValue>
#include <limits>

namespace {

QLatin1String key(const char* name)
{
    return QLatin1String(name);
}

void warnType(const char* name, const QJsonValue& value)
{
    qCWarning(lcWidgets) << "[KyDisplayViewAttribute][fromJson] unexpected type for" << name << value;
}

// A JSON number as a 32-bit integer; anything else is 0.
qint32 readInt(const QJsonValue& value, const char* name)
{
    if (!value.isDouble()) {
        warnType(name, value);
        return 0;
    }
    const double number = value.toDouble();
    if (number != number)  // not a number cannot come from a parser, but may be built
        return 0;
    constexpr double lowest = std::numeric_limits<qint32>::min();
    constexpr double highest = std::numeric_limits<qint32>::max();
    return qint32(qBound(lowest, number, highest));
}

bool readBool(const QJsonValue& value, const char* name)
{
    if (!value.isBool()) {
        warnType(name, value);
        return false;
    }
    return value.toBool();
}

QString readString(const QJsonValue& value, const char* name)
{
    if (!value.isString())
        warnType(name, value);
    return value.toString();
}

} // namespace

QJsonObject KyDisplayViewAttribute::toJson(const KyDisplayViewAttribute& attribute)
{
    QJsonObject json;
    json.insert(key(KyDisplayViewJsonKey::family), attribute.family);
    json.insert(key(KyDisplayViewJsonKey::size), attribute.size);
    json.insert(key(KyDisplayViewJsonKey::color), attribute.color.name());
    json.insert(key(KyDisplayViewJsonKey::horizontalAlignment), attribute.horAlignment);
    json.insert(key(KyDisplayViewJsonKey::bold), attribute.bold);
    json.insert(key(KyDisplayViewJsonKey::italic), attribute.italic);
    json.insert(key(KyDisplayViewJsonKey::underLine), attribute.underLine);
    return json;
}

KyDisplayViewAttribute KyDisplayViewAttribute::fromJson(const QJsonObject& json)
{
    namespace Key = KyDisplayViewJsonKey;
    KyDisplayViewAttribute attribute;
    if (json.contains(key(Key::family)))
        attribute.family = readString(json.value(key(Key::family)), Key::family);
    if (json.contains(key(Key::size)))
        attribute.size = readInt(json.value(key(Key::size)), Key::size);
    if (json.contains(key(Key::color))) {
        // Any form QColor parses: "#rrggbb", "#rgb", SVG names. Others give an invalid colour.
        const QJsonValue value = json.value(key(Key::color));
        attribute.color = QColor(readString(value, Key::color));
        if (value.isString() && !attribute.color.isValid())
            qCWarning(lcWidgets) << "[KyDisplayViewAttribute][fromJson] unparsable colour" << value;
    }
    if (json.contains(key(Key::horizontalAlignment)))
        attribute.horAlignment = readInt(json.value(key(Key::horizontalAlignment)), Key::horizontalAlignment);
    if (json.contains(key(Key::bold)))
        attribute.bold = readBool(json.value(key(Key::bold)), Key::bold);
    if (json.contains(key(Key::italic)))
        attribute.italic = readBool(json.value(key(Key::italic)), Key::italic);
    if (json.contains(key(Key::underLine)))
        attribute.underLine = readBool(json.value(key(Key::underLine)), Key::underLine);
    return attribute;
}

bool KyDisplayViewAttribute::operator==(const KyDisplayViewAttribute& other) const
{
    return family == other.family && color == other.color && size == other.size
        && horAlignment == other.horAlignment && italic == other.italic && bold == other.bold
        && underLine == other.underLine;
}

QDebug operator<<(QDebug debug, const KyDisplayViewAttribute& attribute)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "KyDisplayViewAttribute(" << attribute.family << ", " << attribute.size
                    << "px, " << attribute.color.name() << ", align " << attribute.horAlignment
                    << (attribute.bold ? ", bold" : "") << (attribute.italic ? ", italic" : "")
                    << (attribute.underLine ? ", underline" : "") << ')';
    return debug;
}
