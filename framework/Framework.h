// The class library: everything the launcher uses of it, in one include.
#pragma once

#include <windows.h>

#include "CString.h"
#include "CmdTarget.h"
#include "Wnd.h"
#include "WinApp.h"
#include "Dialog.h"
#include "Gdi.h"
#include "Handle.h"
