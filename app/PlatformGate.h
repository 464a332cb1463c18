// The platform gate's one free function: restarting Windows when the user asks to.
#pragma once

// Asks Windows to restart, enabling the shutdown privilege of the process's token first on
// Windows NT. Examines no result and does not wait: the caller ends the run.
void RestartWindows();
