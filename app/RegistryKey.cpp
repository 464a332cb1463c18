// CRegistryKey: opening a key, reading one value as text, closing.
#include "RegistryKey.h"

#include <cstring>
#include <memory>
#include <new>

CRegistryKey::CRegistryKey() : m_bOpen(FALSE), m_hKey(NULL) {}

CRegistryKey::~CRegistryKey() { Close(); }

LONG CRegistryKey::Open(HKEY hParent, const CString& strSubKey, REGSAM samDesired) {
    Close();
    LONG lStatus = RegOpenKeyExA(hParent, strSubKey, 0, samDesired, &m_hKey);
    if (lStatus == ERROR_SUCCESS) {
        m_bOpen = TRUE;
    } else {
        m_bOpen = FALSE;
        m_hKey = NULL;
    }
    return lStatus;
}

LONG CRegistryKey::QueryValue(const CString& strName, CString& strValue) {
    if (m_hKey == NULL) return ERROR_INVALID_DATA;

    // A buffer that holds the longest value of the key, whatever is asked for, and one byte
    // more so that text always has room for a terminator.
    DWORD cbMaxData = 0;
    LONG lStatus = RegQueryInfoKeyA(m_hKey, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, &cbMaxData, NULL, NULL);
    if (lStatus != ERROR_SUCCESS) return lStatus;
    if (cbMaxData == 0xFFFFFFFF) return ERROR_NOT_ENOUGH_MEMORY;
    const DWORD cbBuffer = cbMaxData + 1;
    std::unique_ptr<BYTE[]> pBuffer(new (std::nothrow) BYTE[cbBuffer]());
    if (!pBuffer) return ERROR_NOT_ENOUGH_MEMORY;

    DWORD dwType = 0;
    DWORD cbData = cbBuffer;
    lStatus = RegQueryValueExA(m_hKey, strName, NULL, &dwType, pBuffer.get(), &cbData);
    if (lStatus != ERROR_SUCCESS) return lStatus;
    if (cbData > cbBuffer) cbData = cbBuffer;

    if (dwType == REG_SZ) {
        // Text need not be stored with its terminator: it ends at the first NUL or with the
        // data.
        const void* pNul = std::memchr(pBuffer.get(), '\0', cbData);
        DWORD cchText = pNul != NULL ? static_cast<DWORD>(static_cast<const BYTE*>(pNul) - pBuffer.get()) : cbData;
        strValue = CString(reinterpret_cast<LPCSTR>(pBuffer.get()), static_cast<int>(cchText));
    } else if (dwType == REG_DWORD) {
        // Shorter data counts as the low bytes of the number.
        DWORD dwValue = 0;
        std::memcpy(&dwValue, pBuffer.get(), cbData < sizeof dwValue ? cbData : sizeof dwValue);
        strValue.Format("%d", static_cast<int>(static_cast<LONG>(dwValue)));
    }
    return ERROR_SUCCESS;
}

void CRegistryKey::Close() {
    if (m_bOpen && m_hKey != NULL) RegCloseKey(m_hKey);
    m_bOpen = FALSE;
    m_hKey = NULL;
}
