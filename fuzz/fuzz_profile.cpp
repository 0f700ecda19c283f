// The host's profile reader: fuzzed bytes as the profile file, read as the host reads
// it at start-up, then every key restored into a deck through the built library.
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
    const QString path = FuzzSupport::writeScratch("profile/profile.json", data, size);
    QString problem;
    const QJsonObject stored = ProfileStore(path).load(&problem);
    QStringList problems;
    g_host->deck().restore(stored, &problems);
    g_host->deck().profile();
    return 0;
}
