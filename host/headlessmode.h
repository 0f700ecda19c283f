#pragma once

#include <QString>

class HostSession;
class RecordChannelReader;

// The windowless modes of vanta-host. Exit codes: 0 done, 1 a step, the script or the
// profile failed, 2 the package could not be loaded.
// `records`, if any, is the package's record channel, printed after each step.
// `followFocus`: pages follow the focused application, each switch printed as a "page" line.
int runHeadless(HostSession& session, const QString& scriptPath, bool launch, RecordChannelReader* records,
                bool followFocus = false);
int runRenderProfile(HostSession& session, const QString& out);
