// CRegistryKey: an open registry key, closed on every way out of the scope that opened it.
#pragma once

#include "Framework.h"

class CRegistryKey {
public:
    CRegistryKey();
    ~CRegistryKey();
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // Opens strSubKey under hParent with the access samDesired. Returns the system status
    // unchanged; 0 is success. On failure the object stays closed.
    LONG Open(HKEY hParent, const CString& strSubKey, REGSAM samDesired);

    // Reads the value strName into strValue: text (REG_SZ) up to its first NUL or the end of
    // its data, a number (REG_DWORD) in signed decimal; other types leave strValue unchanged
    // and still succeed. Returns the system status, 0 on success; ERROR_INVALID_DATA when the
    // key is not open. strValue is untouched on failure.
    LONG QueryValue(const CString& strName, CString& strValue);

    // Closes the key if it is open; calling it again does nothing.
    void Close();

    BOOL m_bOpen;  // TRUE after a successful Open, until Close
    HKEY m_hKey;   // the open key, or NULL
};
