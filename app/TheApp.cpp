// The launcher's one application object. Only setup.exe links this file; tests construct an
// application object of their own for each simulated run.
#include "SetupApp.h"

CSetupApp theApp;
