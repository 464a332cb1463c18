// CString: storage management, searching and resource loading.
#include "CString.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <new>

#include "WinApp.h"

namespace {
char g_chNil = '\0';

int SafeLength(LPCSTR psz) { return psz ? static_cast<int>(std::strlen(psz)) : 0; }
}  // namespace

CString::CString() : m_pchData(&g_chNil), m_nLength(0), m_nCapacity(0) {}

CString::CString(LPCSTR psz) : CString() {
    if (psz != NULL && !IS_INTRESOURCE(psz)) {
        Assign(psz, SafeLength(psz));
    } else if (psz != NULL) {
        LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(psz)));
    }
}

CString::CString(LPCSTR pch, int nLength) : CString() { Assign(pch, nLength > 0 ? nLength : 0); }

CString::CString(const CString& other) : CString() { Assign(other.m_pchData, other.m_nLength); }

CString::CString(CString&& other) noexcept
    : m_pchData(other.m_pchData), m_nLength(other.m_nLength), m_nCapacity(other.m_nCapacity) {
    other.m_pchData = &g_chNil;
    other.m_nLength = 0;
    other.m_nCapacity = 0;
}

CString::~CString() {
    if (m_nCapacity != 0) delete[] m_pchData;
}

CString& CString::operator=(const CString& other) {
    if (this != &other) Assign(other.m_pchData, other.m_nLength);
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    if (this != &other) {
        if (m_nCapacity != 0) delete[] m_pchData;
        m_pchData = other.m_pchData;
        m_nLength = other.m_nLength;
        m_nCapacity = other.m_nCapacity;
        other.m_pchData = &g_chNil;
        other.m_nLength = 0;
        other.m_nCapacity = 0;
    }
    return *this;
}

CString& CString::operator=(LPCSTR psz) {
    // The source may point into this string's own buffer: copy through a temporary.
    CString copy(psz);
    *this = static_cast<CString&&>(copy);
    return *this;
}

CString& CString::operator=(char ch) {
    Assign(&ch, 1);
    return *this;
}

void CString::Empty() {
    if (m_nCapacity != 0) delete[] m_pchData;
    m_pchData = &g_chNil;
    m_nLength = 0;
    m_nCapacity = 0;
}

char CString::GetAt(int nIndex) const {
    return (nIndex >= 0 && nIndex < m_nLength) ? m_pchData[nIndex] : '\0';
}

void CString::SetAt(int nIndex, char ch) {
    if (nIndex >= 0 && nIndex < m_nLength) m_pchData[nIndex] = ch;
}

void CString::Reserve(int nCapacity) {
    if (nCapacity <= m_nCapacity) return;
    int nNew = m_nCapacity < 16 ? 16 : m_nCapacity;
    while (nNew < nCapacity) nNew *= 2;
    char* p = new char[static_cast<size_t>(nNew) + 1];
    std::memcpy(p, m_pchData, static_cast<size_t>(m_nLength));
    p[m_nLength] = '\0';
    if (m_nCapacity != 0) delete[] m_pchData;
    m_pchData = p;
    m_nCapacity = nNew;
}

void CString::Assign(LPCSTR pch, int nLength) {
    if (nLength == 0) {
        if (m_nCapacity != 0) {
            m_nLength = 0;
            m_pchData[0] = '\0';
        }
        return;
    }
    if (nLength > m_nCapacity) {
        char* p = new char[static_cast<size_t>(nLength) + 1];
        std::memcpy(p, pch, static_cast<size_t>(nLength));
        if (m_nCapacity != 0) delete[] m_pchData;
        m_pchData = p;
        m_nCapacity = nLength;
    } else {
        std::memmove(m_pchData, pch, static_cast<size_t>(nLength));
    }
    m_nLength = nLength;
    m_pchData[nLength] = '\0';
}

void CString::Append(LPCSTR pch, int nLength) {
    if (nLength <= 0) return;
    if (m_nLength + nLength > m_nCapacity) {
        // pch may lie inside our own buffer; keep the old one alive until the copy is done.
        int nNew = m_nCapacity < 16 ? 16 : m_nCapacity;
        while (nNew < m_nLength + nLength) nNew *= 2;
        char* p = new char[static_cast<size_t>(nNew) + 1];
        std::memcpy(p, m_pchData, static_cast<size_t>(m_nLength));
        std::memcpy(p + m_nLength, pch, static_cast<size_t>(nLength));
        if (m_nCapacity != 0) delete[] m_pchData;
        m_pchData = p;
        m_nCapacity = nNew;
    } else {
        std::memmove(m_pchData + m_nLength, pch, static_cast<size_t>(nLength));
    }
    m_nLength += nLength;
    m_pchData[m_nLength] = '\0';
}

LPSTR CString::GetBuffer(int nMinBufLength) {
    Reserve(nMinBufLength > m_nLength ? nMinBufLength : (m_nLength > 0 ? m_nLength : 1));
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength) {
    if (m_nCapacity == 0) return;
    if (nNewLength < 0) nNewLength = static_cast<int>(std::strlen(m_pchData));
    if (nNewLength > m_nCapacity) nNewLength = m_nCapacity;
    m_nLength = nNewLength;
    m_pchData[m_nLength] = '\0';
}

CString& CString::operator+=(const CString& s) {
    Append(s.m_pchData, s.m_nLength);
    return *this;
}

CString& CString::operator+=(LPCSTR psz) {
    Append(psz, SafeLength(psz));
    return *this;
}

CString& CString::operator+=(char ch) {
    Append(&ch, 1);
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, LPCSTR b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(LPCSTR a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, char b) {
    CString r(a);
    r += b;
    return r;
}

int CString::Compare(LPCSTR psz) const { return lstrcmpA(m_pchData, psz ? psz : ""); }

int CString::CompareNoCase(LPCSTR psz) const { return lstrcmpiA(m_pchData, psz ? psz : ""); }

int CString::Find(LPCSTR pszSub, int nStart) const {
    if (pszSub == NULL || nStart < 0 || nStart > m_nLength) return -1;
    const int nSub = SafeLength(pszSub);
    // Step character by character so that a match never starts on a trail byte.
    int i = 0;
    while (i < nStart) i += IsDBCSLeadByte(static_cast<BYTE>(m_pchData[i])) && i + 1 < m_nLength ? 2 : 1;
    for (; i + nSub <= m_nLength;
         i += IsDBCSLeadByte(static_cast<BYTE>(m_pchData[i])) && i + 1 < m_nLength ? 2 : 1) {
        if (std::memcmp(m_pchData + i, pszSub, static_cast<size_t>(nSub)) == 0) return i;
    }
    return -1;
}

int CString::Find(char ch, int nStart) const {
    char sz[2] = {ch, '\0'};
    return ch == '\0' ? -1 : Find(sz, nStart);
}

int CString::ReverseFind(char ch) const {
    int nLast = -1;
    for (int i = 0; i < m_nLength;
         i += IsDBCSLeadByte(static_cast<BYTE>(m_pchData[i])) && i + 1 < m_nLength ? 2 : 1) {
        if (m_pchData[i] == ch) nLast = i;
    }
    return nLast;
}

CString CString::Left(int nCount) const {
    if (nCount < 0) nCount = 0;
    if (nCount > m_nLength) nCount = m_nLength;
    return CString(m_pchData, nCount);
}

CString CString::Right(int nCount) const {
    if (nCount < 0) nCount = 0;
    if (nCount > m_nLength) nCount = m_nLength;
    return CString(m_pchData + m_nLength - nCount, nCount);
}

CString CString::Mid(int nFirst, int nCount) const {
    if (nFirst < 0) nFirst = 0;
    if (nFirst > m_nLength) nFirst = m_nLength;
    if (nCount < 0) nCount = 0;
    if (nCount > m_nLength - nFirst) nCount = m_nLength - nFirst;
    return CString(m_pchData + nFirst, nCount);
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, m_nLength); }

BOOL CString::LoadString(UINT nID) {
    // LoadStringA cuts at the buffer's end; grow until the text fits with room to spare.
    for (int nSize = 256;; nSize *= 2) {
        LPSTR p = GetBuffer(nSize);
        int n = ::LoadStringA(AfxGetResourceHandle(), nID, p, nSize + 1);
        if (n < nSize || nSize >= 65536) {
            ReleaseBuffer(n > 0 ? n : 0);
            return n > 0;
        }
    }
}

void CString::Format(LPCSTR pszFormat, ...) {
    // The system's formatter writes at most 1024 characters.
    va_list args;
    va_start(args, pszFormat);
    LPSTR p = GetBuffer(1024);
    int n = wvsprintfA(p, pszFormat, args);
    va_end(args);
    ReleaseBuffer(n > 0 ? n : 0);
}

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }
