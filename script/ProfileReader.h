// CProfileReader: typed settings (boolean, enumerated) read from one INI file through the
// profile functions; PROFILE_ENUM_ENTRY, one word of an enumeration table.
#pragma once

#include "Framework.h"

// One word allowed for an enumerated setting and the value it stands for. A table is a
// constant array of entries that ends with {0, NULL}.
struct PROFILE_ENUM_ENTRY {
    int nValue;
    LPCSTR pszName;  // NULL in the entry that ends the table
};

// Reads settings from the INI file at m_strPath. It keeps no file open and caches nothing:
// each read goes to the file at the moment of the call. A missing file, section or key, or an
// empty value, is not an error; the caller's default comes back.
class CProfileReader {
public:
    // Binds the reader to the file at strPath; returns the reader.
    CProfileReader& SetPath(const CString& strPath);

    // 1 for "TRUE" and 0 for "FALSE" (any case); any other text counts by its leading decimal
    // integer as atoi reads it: 1 when non-zero, else 0. nDefault when section or key is empty
    // (the file is not consulted) or nothing was read (missing, or an empty value).
    int ReadBool(const CString& section, const CString& key, int nDefault);

    // The nValue of the first table entry whose word matches the text (any case), or 0 when
    // none does (0, not nDefault). nDefault when section or key is empty or table is NULL (the
    // file is not consulted), or nothing was read.
    int ReadEnum(const CString& section, const CString& key, const PROFILE_ENUM_ENTRY* table, int nDefault);

    // The word of the first entry whose value is nValue; empty when there is none or table is
    // NULL.
    static CString ValueToName(const PROFILE_ENUM_ENTRY* table, int nValue);

    CString m_strPath;  // the INI file every read consults; empty until SetPath
};
