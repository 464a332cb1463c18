// The UI driver: reading and answering another process's dialogs and message boxes.
#include "UiDriver.h"

#include "E2eFiles.h"

namespace e2e {

namespace {

// The control that holds a message box's text.
const int kMessageBoxText = 0xFFFF;
// The file-name box of the file-open dialog.
const int kFileNameBox = 1152;
// How long a message to another process's window may take before we give up on it.
const UINT kSendLimitMs = 5000;

std::string ClassOf(HWND hwnd) {
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hwnd) {
    char text[1024] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string WithoutMarks(const std::string& label) {
    std::string out;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size()) ++i;
        out += label[i];
    }
    return out;
}

struct WindowSearch {
    DWORD pid;
    bool dialogsOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && IsWindowVisible(hwnd) && (!search->dialogsOnly || ClassOf(hwnd) == "#32770")) {
        search->found.push_back(hwnd);
    }
    return TRUE;
}

BOOL CALLBACK CollectButton(HWND hwnd, LPARAM param) {
    auto* box = reinterpret_cast<Box*>(param);
    // Direct children only: a dialog's controls.
    if (GetParent(hwnd) != box->hwnd || !IsWindowVisible(hwnd) || lstrcmpiA(ClassOf(hwnd).c_str(), "Button") != 0) {
        return TRUE;
    }
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    LONG type = style & BS_TYPEMASK;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_OWNERDRAW) return TRUE;
    box->buttons.push_back({GetDlgCtrlID(hwnd), TextOf(hwnd), type == BS_DEFPUSHBUTTON});
    return TRUE;
}

}  // namespace

std::string Box::ButtonLabels() const {
    std::string out;
    for (const Button& b : buttons) out += (out.empty() ? "" : ",") + WithoutMarks(b.text);
    return out;
}

std::string Box::DefaultLabel() const {
    for (const Button& b : buttons) {
        if (b.isDefault) return WithoutMarks(b.text);
    }
    return "";
}

std::string Box::Describe() const {
    std::string out = "\"" + caption + "\": \"" + text + "\" [";
    for (size_t i = 0; i < buttons.size(); ++i) {
        out += (i ? " " : "") + WithoutMarks(buttons[i].text) + (buttons[i].isDefault ? "*" : "");
    }
    return out + "]";
}

std::vector<HWND> DialogsOf(DWORD pid) {
    WindowSearch search{pid, true, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> VisibleWindowsOf(DWORD pid) {
    WindowSearch search{pid, false, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

Box ReadBox(HWND hwnd) {
    Box box;
    box.hwnd = hwnd;
    box.caption = TextOf(hwnd);
    if (HWND text = GetDlgItem(hwnd, kMessageBoxText)) box.text = TextOf(text);
    EnumChildWindows(hwnd, CollectButton, reinterpret_cast<LPARAM>(&box));
    return box;
}

std::string ControlText(HWND hwnd, int id) {
    HWND control = GetDlgItem(hwnd, id);
    return control != NULL ? TextOf(control) : "";
}

bool Press(HWND hwnd, int id) {
    HWND button = GetDlgItem(hwnd, id);
    return PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != FALSE;
}

bool PressKey(HWND hwnd, WPARAM vk) {
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, NULL), &info) || info.hwndFocus == NULL) return false;
    return PostMessageA(info.hwndFocus, WM_KEYDOWN, vk, 1) && PostMessageA(info.hwndFocus, WM_KEYUP, vk, 0xC0000001);
}

bool ChooseFolder(HWND hwnd, const std::string& folder) {
    HWND edit = GetDlgItem(hwnd, kFileNameBox);
    if (edit == NULL) return false;
    const std::string file = folder + "\\" + kInstaller;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()), SMTO_ABORTIFHUNG,
                             kSendLimitMs, &result)) {
        return false;
    }
    return Press(hwnd, IDOK);
}

}  // namespace e2e
