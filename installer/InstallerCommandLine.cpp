// The installer's command line, composed from the launcher's arguments and the setup script.
#include "InstallerCommandLine.h"

#include "SetupScript.h"

int ScanScriptSwitch(const CString& strArgs, CString& strScriptText) {
    strScriptText.Empty();
    int p = strArgs.Find(SCRIPT_SWITCH);
    if (p == -1) return -1;
    const int n = strArgs.GetLength();
    for (int i = p + lstrlenA(SCRIPT_SWITCH); i < n; ++i) {
        char ch = strArgs.GetAt(i);
        if (ch == '-') break;
        strScriptText += ch;
    }
    return p;
}

void SplitScriptPath(const CString& strScriptText, CString& strFolder, CString& strName) {
    int k = strScriptText.ReverseFind('\\');
    if (k == -1) {
        strFolder.Empty();
        strName = strScriptText;
        return;
    }
    strFolder = strScriptText.Left(k);
    strName = strScriptText.Right(strScriptText.GetLength() - k - 1);
}

CString QuoteProgramPath(const CString& strPath) {
    if (strPath.Find(' ') == -1 && strPath.Find('\t') == -1) return strPath;
    return "\"" + strPath + "\"";
}

CString ComposeInstallerCommandLine(const CString& strInstallerPath, const CString& strArgs,
                                    const INSTALLER_SCRIPT_ANSWERS& answers) {
    CString strCmdLine = QuoteProgramPath(strInstallerPath);

    CString strWork(strArgs);
    CString strScriptText;
    int p = ScanScriptSwitch(strWork, strScriptText);
    if (p != -1) {
        // Rewritten in place: only the four bytes after the dash change.
        const char* pszNew = SCRIPT_SWITCH_FOR_INSTALLER;
        for (int i = 1; i <= 4; ++i) strWork.SetAt(p + i, pszNew[i]);
    }
    if (strWork.GetLength() > 0) {
        strCmdLine += " ";
        strCmdLine += strWork;
    }
    if (strWork.Find(UNINSTALL_SWITCH) == -1 && answers.nUninstall == 1) {
        strCmdLine += " ";
        strCmdLine += UNINSTALL_SWITCH;
    }
    if (answers.nUserInterface == UI_HIDDEN) strCmdLine += " -s";
    if (answers.nSms == 1) strCmdLine += " -SMS";
    return strCmdLine;
}
