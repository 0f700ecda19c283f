#pragma once

#include "widgets/kydisplayviewattribute.h"

#include <QDebug>
#include <QString>

enum TestStyle { Plain = 0, Bold = 1, Italic = 2, Underline = 4 };

inline KyDisplayViewAttribute makeAttribute(int alignment, int size, int styles, const QString& family = {},
                                            const QColor& color = Qt::white)
{
    KyDisplayViewAttribute a;
    a.horAlignment = alignment;
    a.size = size;
    a.bold = styles & Bold;
    a.italic = styles & Italic;
    a.underLine = styles & Underline;
    a.family = family;
    a.color = color;
    return a;
}

// QCOMPARE failure messages name the attribute's values.
inline char* toString(const KyDisplayViewAttribute& attribute)
{
    QString text;
    QDebug(&text) << attribute;
    return qstrdup(qPrintable(text));
}
