#pragma once

#include "widgets/kydisplayviewattribute.h"

#include <QDebug>
#include <QString>

// QCOMPARE failure messages name the attribute's values.
inline char* toString(const KyDisplayViewAttribute& attribute)
{
    QString text;
    QDebug(&text) << attribute;
    return qstrdup(qPrintable(text));
}
