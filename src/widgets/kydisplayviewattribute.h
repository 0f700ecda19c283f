#pragma once

#include "keyfaceconstants.h"

#include <QColor>
#include <QJsonObject>
#include <QMetaType>
#include <QString>

// Text attributes of a key title, as the user picks them in the text-settings dialog.
// A plain value, carried by signals and stored in every action's payload under
// "displayView". Reading JSON never fails: wrong types fall back field by field.
class KyDisplayViewAttribute
{
public:
    static constexpr const char* pluginPayloadKey = KyDisplayViewJsonKey::payload;

    QString family;                 // empty: the label keeps its current family
    QColor color = Qt::white;
    qint32 size = KyDisplayView::kDefaultSize;  // pixels in the inspector preview
    qint32 horAlignment = KyDisplayView::kDefaultAlignment;  // Qt::Alignment value
    bool italic = false;
    bool bold = false;
    bool underLine = false;

    static QJsonObject toJson(const KyDisplayViewAttribute& attribute);
    static KyDisplayViewAttribute fromJson(const QJsonObject& json);

    bool operator==(const KyDisplayViewAttribute& other) const;
    bool operator!=(const KyDisplayViewAttribute& other) const { return !(*this == other); }
};

Q_DECLARE_METATYPE(KyDisplayViewAttribute)

QDebug operator<<(QDebug debug, const KyDisplayViewAttribute& attribute);
