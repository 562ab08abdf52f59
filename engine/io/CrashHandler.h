#pragma once

#include "engine/core/String.h"

// Catches SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT and uncaught exceptions, writes a crash
// report (signal, fault address, back trace) into the report folder, says on standard error
// where it went, and lets the process die by the same signal so that its exit status shows the
// crash. It asks the user nothing: nothing interactive is safe inside a signal handler.

// Once per process; later calls only repeat the first answer. False, with a log line, when a
// handler could not be installed.
bool installCrashHandler();

// The folder is made when a report is written. The default is $XDG_DATA_HOME (else
// ~/.local/share) followed by "/QuorvaneTessmark/Velmora". False, with a log line, for a path
// too long to keep.
bool setCrashReportFolder(const CString& folder);
