// The UI driver: finds the dialogs and message boxes that a process shows (top-level windows
// of the system dialog class "#32770"), reads them and answers them as a user would.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct Button {
    int id;
    std::string text;  // as the button shows it, "&" marks included
    bool isDefault;    // BS_DEFPUSHBUTTON
};

// What a dialog or message box showed when it was read.
struct Box {
    HWND hwnd = NULL;
    std::string caption;  // the window text
    std::string text;     // a message box's text (the static control 0xFFFF), else ""
    std::vector<Button> buttons;  // the visible buttons, in the order of the window list

    // "Yes,No": the visible buttons' labels without their "&" marks, in order.
    std::string ButtonLabels() const;
    // The default button's label, or "" when there is none.
    std::string DefaultLabel() const;
    // One line for reports: caption, text and buttons (the default marked with *).
    std::string Describe() const;
};

// The visible top-level dialogs of process pid, in z-order (topmost first).
std::vector<HWND> DialogsOf(DWORD pid);
// Reads a dialog or message box as it shows now.
Box ReadBox(HWND hwnd);
// The text of control id of dialog hwnd.
std::string ControlText(HWND hwnd, int id);
// Every visible top-level window of process pid, whatever its class.
std::vector<HWND> VisibleWindowsOf(DWORD pid);

// Presses button id of dialog hwnd as a click would: the button's BN_CLICKED notification is
// posted to the dialog, so the call returns at once whatever the press starts (a nested
// message box, a modal loop).
bool Press(HWND hwnd, int id);

// Presses key vk (WM_KEYDOWN, then WM_KEYUP) where the keyboard focus of dialog hwnd's thread
// is, as a user's key press arrives; false when that thread has no focus.
bool PressKey(HWND hwnd, WPARAM vk);

// In the classic file-open dialog (as the launcher's browse layout shows it: the file-name
// box 1152 present but hidden), confirms folder: the file name becomes "<folder>\ishield.app"
// and OK is pressed.
bool ChooseFolder(HWND hwnd, const std::string& folder);

}  // namespace e2e
