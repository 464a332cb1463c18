// The completion watch: the worker thread that waits for the installer's completion event.
#include "CompletionWatch.h"

#include "Handle.h"
#include "SetupApp.h"

extern "C" UINT fnWorkerThread(LPVOID pParam) {
    CHandle event(OpenEventA(EVENT_ALL_ACCESS, FALSE, SETUP_COMPLETE_EVENT));
    // No event to wait on means nothing will ever signal completion: finish at once. A failed
    // wait is treated as the signal.
    if (event.IsValid()) WaitForSingleObject(event.Get(), INFINITE);
    event.Close();
    if (pParam != NULL) static_cast<CSetupApp*>(pParam)->FinishSetup();
    return 1;
}
