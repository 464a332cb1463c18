// CString: the class library's counted, growable, single-byte string with value semantics.
// Positions and lengths are in bytes; searches step over double-byte characters of the ANSI
// code page so that a trail byte never matches.
#pragma once

#include <windows.h>

class CString {
public:
    CString();
    CString(LPCSTR psz);  // NOLINT: implicit, as the class library's string converts from text
    CString(LPCSTR pch, int nLength);
    CString(const CString& other);
    CString(CString&& other) noexcept;
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(LPCSTR psz);
    CString& operator=(char ch);

    int GetLength() const { return m_nLength; }
    BOOL IsEmpty() const { return m_nLength == 0; }
    void Empty();
    operator LPCSTR() const { return m_pchData; }
    char GetAt(int nIndex) const;
    char operator[](int nIndex) const { return GetAt(nIndex); }
    // Replaces the byte at nIndex; nIndex must lie inside the string.
    void SetAt(int nIndex, char ch);

    // Direct access for APIs that fill a buffer: room for at least nMinBufLength bytes plus
    // the terminator. ReleaseBuffer(-1) takes the length up to the first NUL.
    LPSTR GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);

    CString& operator+=(const CString& s);
    CString& operator+=(LPCSTR psz);
    CString& operator+=(char ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCSTR b);
    friend CString operator+(LPCSTR a, const CString& b);
    friend CString operator+(const CString& a, char b);

    int Compare(LPCSTR psz) const;
    int CompareNoCase(LPCSTR psz) const;

    // Position of the first occurrence at or after nStart, or -1. Case-sensitive.
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int Find(char ch, int nStart = 0) const;
    // Position of the last occurrence of ch, or -1.
    int ReverseFind(char ch) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int nFirst, int nCount) const;
    CString Mid(int nFirst) const;

    // Loads string resource nID of the application's module; an absent number gives an empty
    // string and FALSE.
    BOOL LoadString(UINT nID);
    // Formats into this string as wsprintfA does (at most 1024 characters).
    void Format(LPCSTR pszFormat, ...);

private:
    void Assign(LPCSTR pch, int nLength);
    void Append(LPCSTR pch, int nLength);
    void Reserve(int nCapacity);

    char* m_pchData;
    int m_nLength;
    int m_nCapacity;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCSTR b);
bool operator==(LPCSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCSTR b);
