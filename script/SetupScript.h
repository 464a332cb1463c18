// Placeholder interface of the setup script reader until it lands.
#pragma once

#include "Framework.h"

struct PROFILE_ENUM_ENTRY {
    int nValue;
    const char* pszName;
};

enum { UI_VISIBLE = 0, UI_HIDDEN = 1 };

class CProfileReader {
public:
    CProfileReader& SetPath(const CString& strPath) {
        m_strPath = strPath;
        return *this;
    }
    int ReadBool(const CString&, const CString&, int nDefault) { return nDefault; }
    CString m_strPath;
};

class CSetupScript {
public:
    CSetupScript(const CString& strFolder, const CString& strName) : m_nUserInterface(UI_VISIBLE) {
        m_profile.SetPath(strFolder + "\\" + strName);
    }
    int ReadBool(const CString& strSection, const CString& strKey, int nDefault) {
        return m_profile.ReadBool(strSection, strKey, nDefault);
    }
    int m_nUserInterface;
    CProfileReader m_profile;
};
