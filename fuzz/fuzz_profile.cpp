// The host's profile reader: fuzzed bytes parsed as the host parses a profile file,
// then every key restored into a deck through the built library.
#include "fuzzhost.h"
#include "fuzzsupport.h"
#include "profilestore.h"

namespace {
FuzzHost* g_host = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::start();
    g_host = new FuzzHost;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    g_host->reset();
    QString why;
    const QJsonObject stored =
        ProfileStore::parse(QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size)), &why);
    QStringList problems;
    g_host->deck().restore(stored, &problems);
    g_host->deck().profile();
    return 0;
}
