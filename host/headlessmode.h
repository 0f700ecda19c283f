#pragma once

#include <QString>

class HostSession;
class QuitSignals;
class RecordChannelReader;

// The windowless modes of vanta-host. Exit codes: 0 done, 1 a step, the script or the
// profile failed, 2 the package could not be loaded.
// `records`, if any, is the package's record channel, printed after each step.
// `followFocus`: pages follow the focused application, each switch printed as a "page" line.
// A signal from `quit`, if given, stops the script after the step under way (exit 1).
int runHeadless(HostSession& session, const QString& scriptPath, bool launch, RecordChannelReader* records,
                bool followFocus = false, QuitSignals* quit = nullptr);
int runRenderProfile(HostSession& session, const QString& out);
