#include "descriptors.h"

#include <dirent.h>
#include <sys/resource.h>

namespace Descriptors {

namespace {
constexpr int kCountEvery = 64;  // calls between two exact counts
long g_estimate = -1;            // open descriptors, as last counted plus what was asked for since
int g_sinceCount = 0;
} // namespace

long raiseLimit()
{
    rlimit limits{};
    if (getrlimit(RLIMIT_NOFILE, &limits) != 0)
        return -1;
    if (limits.rlim_cur < limits.rlim_max) {
        limits.rlim_cur = limits.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limits);
    }
    return limit();
}

long limit()
{
    rlimit limits{};
    if (getrlimit(RLIMIT_NOFILE, &limits) != 0 || limits.rlim_cur == RLIM_INFINITY)
        return -1;
    return long(limits.rlim_cur);
}

int openCount()
{
    DIR* folder = opendir("/proc/self/fd");
    if (!folder)
        return -1;
    int count = 0;
    while (const dirent* entry = readdir(folder)) {
        if (entry->d_name[0] != '.')
            ++count;
    }
    closedir(folder);
    return count - 1;  // the folder's own descriptor
}

bool spare(int needed, QString* why)
{
    const long most = limit();
    if (most < 0)
        return true;
    if (g_estimate < 0 || ++g_sinceCount >= kCountEvery || g_estimate + needed + kReserve > most) {
        g_estimate = openCount();
        g_sinceCount = 0;
        if (g_estimate < 0)
            return true;
    }
    if (g_estimate + needed + kReserve > most) {
        *why = QStringLiteral("too few file descriptors are left for another action (%1 of at most %2 open; "
                              "raise the limit with ulimit -n)")
                   .arg(g_estimate)
                   .arg(most);
        return false;
    }
    g_estimate += needed;
    return true;
}

} // namespace Descriptors
