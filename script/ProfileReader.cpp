// CProfileReader: boolean and enumerated settings from an INI file.
#include "ProfileReader.h"

namespace {

// The buffer the profile function fills: a longer value is judged on its first 259 characters.
const DWORD PROFILE_VALUE_SIZE = 260;

// The value of key in section, or the default text; the profile function's count of the
// characters it placed comes back in *pnRead (0 for an empty value or an empty default).
CString ReadText(const CString& strPath, const CString& section, const CString& key, LPCSTR pszDefault,
                 DWORD* pnRead) {
    CString strValue;
    *pnRead = GetPrivateProfileStringA(section, key, pszDefault, strValue.GetBuffer(PROFILE_VALUE_SIZE),
                                       PROFILE_VALUE_SIZE, strPath);
    strValue.ReleaseBuffer(static_cast<int>(*pnRead));
    return strValue;
}

// Setting words are compared ignoring the case of the letters A to Z only, the same on every
// code page and locale.
bool SameWord(const CString& strText, LPCSTR pszWord) {
    int i = 0;
    for (; i < strText.GetLength() && pszWord[i] != '\0'; ++i) {
        char a = strText[i], b = pszWord[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b) return false;
    }
    return i == strText.GetLength() && pszWord[i] == '\0';
}

bool IsSpace(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

// Whether the text's leading decimal integer, as atoi reads it (white space, one optional
// sign, digits up to the first non-digit; none gives 0), is non-zero. Only that matters, so a
// number too large for an integer still counts as non-zero.
bool LeadingIntegerIsNonZero(LPCSTR psz) {
    while (IsSpace(*psz)) ++psz;
    if (*psz == '+' || *psz == '-') ++psz;
    for (; *psz >= '0' && *psz <= '9'; ++psz) {
        if (*psz != '0') return true;
    }
    return false;
}

}  // namespace

CProfileReader& CProfileReader::SetPath(const CString& strPath) {
    m_strPath = strPath;
    return *this;
}

int CProfileReader::ReadBool(const CString& section, const CString& key, int nDefault) {
    if (section.IsEmpty() || key.IsEmpty()) return nDefault;
    DWORD nRead = 0;
    CString strValue = ReadText(m_strPath, section, key, "", &nRead);
    if (nRead == 0) return nDefault;
    if (SameWord(strValue, "TRUE")) return 1;
    if (SameWord(strValue, "FALSE")) return 0;
    return LeadingIntegerIsNonZero(strValue) ? 1 : 0;
}

int CProfileReader::ReadEnum(const CString& section, const CString& key, const PROFILE_ENUM_ENTRY* table,
                             int nDefault) {
    if (section.IsEmpty() || key.IsEmpty() || table == NULL) return nDefault;
    // A missing key gives the default's own word, which maps back to nDefault below.
    DWORD nRead = 0;
    CString strValue = ReadText(m_strPath, section, key, ValueToName(table, nDefault), &nRead);
    if (nRead == 0) return nDefault;
    for (const PROFILE_ENUM_ENTRY* pEntry = table; pEntry->pszName != NULL; ++pEntry) {
        if (SameWord(strValue, pEntry->pszName)) return pEntry->nValue;
    }
    return 0;
}

CString CProfileReader::ValueToName(const PROFILE_ENUM_ENTRY* table, int nValue) {
    if (table == NULL) return CString();
    for (const PROFILE_ENUM_ENTRY* pEntry = table; pEntry->pszName != NULL; ++pEntry) {
        if (pEntry->nValue == nValue) return CString(pEntry->pszName);
    }
    return CString();
}
