#pragma once

#include <sys/types.h>

// Thread priorities on Linux are nice values, and the nice value belongs to each thread (its
// kernel id), not to the process.
pid_t currentThreadId();
// False when the thread is gone.
bool getThreadNice(pid_t thread, int& nice);
// False when the system refuses: raising priority needs a privilege most players lack.
bool setThreadNice(pid_t thread, int nice);
