// The installer's command line: how the launcher's arguments and the setup script's answers
// become the command line the installer engine receives.
#pragma once

#include "Framework.h"

// The switch that names the setup script, and what it becomes for the installer: still eight
// characters, the middle four rewritten in place.
#define SCRIPT_SWITCH "-script="
#define SCRIPT_SWITCH_FOR_INSTALLER "-ascrpt="
#define UNINSTALL_SWITCH "-uninstall"

// What the setup script said, as the command line needs it.
struct INSTALLER_SCRIPT_ANSWERS {
    int nUninstall;       // ReadBool("Setup", "Uninstall", 0); only 1 counts
    int nUserInterface;   // UI_VISIBLE or UI_HIDDEN
    int nSms;             // ReadBool("Setup", "SMS", 0); only 1 counts
};

// Finds the first "-script=" (exact case) in strArgs and takes the text after it up to the next
// '-' or the end, byte by byte, blanks and quotes included. Returns the switch's position, or
// -1 (strScriptText then stays empty).
int ScanScriptSwitch(const CString& strArgs, CString& strScriptText);

// Splits the scanned script text at its last backslash into folder and name; without a
// backslash the folder is empty and the name is the whole text.
void SplitScriptPath(const CString& strScriptText, CString& strFolder, CString& strName);

// The installer's program path in the form its command line starts with: quoted when it holds
// a blank or a tab, so that the system (and the engine) read the whole path as one token.
CString QuoteProgramPath(const CString& strPath);

// The whole command line: the program path (quoted as above), then " " and the arguments with
// their first "-script=" turned into "-ascrpt=" (when there are arguments), then " -uninstall"
// when the arguments hold no "-uninstall" and the script asks for it, " -s" for a hidden user
// interface, " -SMS" when the script asks for it.
CString ComposeInstallerCommandLine(const CString& strInstallerPath, const CString& strArgs,
                                    const INSTALLER_SCRIPT_ANSWERS& answers);
