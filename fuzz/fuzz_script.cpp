// The host's script reader: fuzzed bytes parsed as the host parses a headless script.
#include "fuzzsupport.h"
#include "scriptrunner.h"

#include <QJsonArray>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QJsonArray steps;
    QString why;
    if (!ScriptRunner::parse(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)), &steps,
                             &why) && why.isEmpty())
        __builtin_trap();  // a refused script always says why
    return 0;
}
