// Shared pieces of the simulated user32, used across its source files.
#pragma once

#include "State.h"

namespace winsim {

extern const HWND kDesktop;

// Registers the system's window classes (dialog, button, static, ...) on first use.
void RegisterSystemClassesLocked();
void RegisterSystemClassLocked(const char* name, WNDPROC proc, int cbWndExtra);
const WndClass* FindClassLocked(const std::string& name, DWORD pid);

// Calls a window's procedure with the lock released; 0 when the window does not exist.
LRESULT SendLocked(std::unique_lock<std::mutex>& lock, HWND hwnd, UINT msg, WPARAM w, LPARAM l);
bool PostLocked(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
void DestroyLocked(std::unique_lock<std::mutex>& lock, HWND hwnd);
bool TakeMessageLocked(Thread* t, HWND filter, UINT minMsg, UINT maxMsg, bool remove, MSG* out);
HWND TopLevelOf(HWND hwnd);

// Shows a modal element to the scripted user and returns the answer; fails the test when no
// answer is scripted.
UserAnswer AskUser(const ModalView& view);

}  // namespace winsim
