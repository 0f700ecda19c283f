// The title's display attributes read from fuzzed JSON, applied to a key face's and
// an inspector's label; what is stored restores to the same stored form.
#include "fuzzsupport.h"
#include "widgets/kydisplayviewattribute.h"
#include "widgets/kydisplayviewlabelhandler.h"

#include <QJsonDocument>
#include <QLabel>

namespace {
QLabel* g_label = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::start();
    g_label = new QLabel;
    g_label->resize(150, 108);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QJsonObject json = QJsonDocument::fromJson(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size))).object();
    const KyDisplayViewAttribute attribute = KyDisplayViewAttribute::fromJson(json);
    const QJsonObject stored = KyDisplayViewAttribute::toJson(attribute);
    if (KyDisplayViewAttribute::toJson(KyDisplayViewAttribute::fromJson(stored)) != stored)
        abort();
    KyDisplayViewLabelHandler::modifyIconWidgetLabel(g_label, 108, attribute);
    KyDisplayViewLabelHandler::modifyPropertyWidgetLabel(g_label, 108, attribute);
    return 0;
}
