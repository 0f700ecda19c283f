#include "outputwriter.h"

#include <QJsonDocument>

#include <cstdio>

namespace OutputWriter {

void line(const QJsonObject& object)
{
    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Compact);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace OutputWriter
