// CSetupScript: where the setup script is, and its "User Interface" setting.
#include "SetupScript.h"

const PROFILE_ENUM_ENTRY g_UserInterfaceTable[] = {
    {UI_VISIBLE, "VISIBLE"},
    {UI_HIDDEN, "HIDDEN"},
    {0, NULL},
};

namespace {
const char SCRIPT_DEFAULT_NAME[] = "Script.TXT";
const char SCRIPT_SECTION[] = "Setup";
const char SCRIPT_KEY_USER_INTERFACE[] = "User Interface";
}  // namespace

CSetupScript::CSetupScript(const CString& folder, const CString& name) : m_nUserInterface(UI_VISIBLE) {
    SetScriptPath(folder, name);
    m_nUserInterface =
        m_profile.ReadEnum(SCRIPT_SECTION, SCRIPT_KEY_USER_INTERFACE, g_UserInterfaceTable, m_nUserInterface);
}

void CSetupScript::SetScriptPath(CString folder, CString name) {
    if (folder.IsEmpty()) {
        // The folder of the launcher's own file, not the setup folder, which browsing may have
        // moved elsewhere.
        const DWORD nSize = MAX_PATH + 1;
        DWORD n = GetModuleFileNameA(NULL, folder.GetBuffer(MAX_PATH), nSize);
        folder.ReleaseBuffer(n < nSize ? static_cast<int>(n) : MAX_PATH);
        int k = folder.ReverseFind('\\');
        if (k != -1) folder = folder.Left(k);
    }
    if (name.IsEmpty()) name = SCRIPT_DEFAULT_NAME;
    // Exactly one backslash between folder and name. (ReverseFind steps over double-byte
    // characters, so a trail byte that looks like a backslash is not taken for one.)
    if (folder.ReverseFind('\\') != folder.GetLength() - 1) folder += '\\';
    m_profile.SetPath(folder + name);
}

int CSetupScript::ReadBool(const CString& section, const CString& key, int nDefault) {
    return m_profile.ReadBool(section, key, nDefault);
}
