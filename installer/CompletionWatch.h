// The completion watch: the worker thread that waits until the installer sets the completion
// event and then ends the run.
#pragma once

#include <windows.h>

// Waits (without a time limit) for SETUP_COMPLETE_EVENT, then calls FinishSetup on the
// application object pParam points to (nothing when it is NULL). Always returns 1. The
// program exports it under this undecorated name; it is the program's only export.
extern "C" UINT fnWorkerThread(LPVOID pParam);
