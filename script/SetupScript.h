// CSetupScript: the settings of one setup script, the INI file on the media that presets how
// the installer runs; the user-interface values and their table.
#pragma once

#include "ProfileReader.h"

// Values of the "User Interface" setting.
const int UI_VISIBLE = 0;
const int UI_HIDDEN = 1;

// The words of the "User Interface" setting: VISIBLE, HIDDEN, in that order.
extern const PROFILE_ENUM_ENTRY g_UserInterfaceTable[];

// One setup script, read in section "Setup". Construction finds the file and reads "User
// Interface" once; ReadBool reads the file again at each call. Nothing about the file is ever
// reported: whatever is missing takes its default.
class CSetupScript {
public:
    // folder and name as taken from the launcher's "-script=" argument; either may be empty.
    CSetupScript(const CString& folder, const CString& name);

    // Binds m_profile to folder + "\" + name: an empty folder is the folder of the launcher's
    // own program file, an empty name is "Script.TXT".
    void SetScriptPath(CString folder, CString name);

    // m_profile.ReadBool, unchanged.
    int ReadBool(const CString& section, const CString& key, int nDefault);

    int m_nUserInterface;      // UI_VISIBLE or UI_HIDDEN
    CProfileReader m_profile;  // bound to the script's path
};
