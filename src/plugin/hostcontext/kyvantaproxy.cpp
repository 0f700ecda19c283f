#include "kyvantaproxy.h"

KyVantaProxy* KyVantaProxy::getInstance()
{
    static KyVantaProxy instance;  // thread-safe first use, destroyed at unload
    return &instance;
}
