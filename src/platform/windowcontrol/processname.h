#pragma once

#include <QString>

// The name of a process of this machine as the kernel has it (/proc/PID/comm, at most
// 15 bytes); empty when there is no such process.
QString processNameOf(qint64 pid);
