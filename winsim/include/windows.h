// Simulated Win32 for host builds: the one header the launcher and the class library include.
// Declares the subset of the API they use, with the documented names, types and constants;
// the definitions live in winsim's world (winsim/src).
#pragma once

#include "winsim_types.h"
#include "winsim_kernel.h"
#include "winsim_user.h"
#include "winsim_gdi.h"
#include "winsim_advapi.h"
