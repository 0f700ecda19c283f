#pragma once

#include <QString>

class HostSession;

// The windowless modes of vanta-host. Exit codes: 0 done, 1 a step, the script or the
// profile failed, 2 the package could not be loaded.
int runHeadless(HostSession& session, const QString& scriptPath, bool launch);
int runRenderProfile(HostSession& session, const QString& out);
