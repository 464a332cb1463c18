// Simulated profile (INI) reading: GetPrivateProfileStringA over the world's files, with the
// text rules of the Windows profile functions as the conformance tests pin them.
#include <cctype>
#include <cstring>

#include "State.h"

using namespace winsim;

namespace {

// Where the profile functions look for a file named without any folder.
const char kWindowsFolder[] = "C:\\WINDOWS\\";

bool IsBlank(char c) { return c != '\0' && std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool SameName(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

// The value of key in the first section called section, as the profile functions find it.
// False when the file gives no value: the section or the key is missing, or the key's first
// line has no equals sign.
//
// Lines end at CR or LF. Blanks around a line, a section name, a key or a value do not count.
// A line "[name]" starts a section (the name ends at the last ']'; a line with none is
// ignored). Every other line of a section is a key: the text before the first '=' is its name,
// the rest its value; a value wrapped in one pair of matching quotes (" or ') loses them. There
// is no comment syntax: a line starting with ';' is a key whose name starts with ';', which no
// caller asks for. Lines before the first section belong to none. Of repeated sections only the
// first is read; of repeated keys in it only the first counts.
bool FindValue(const std::string& text, const char* section, const char* key, std::string* value) {
    if (*section == '\0') return false;  // an empty section name finds nothing
    bool inSection = false;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;
        if (line[0] == '[') {
            size_t close = line.rfind(']');
            if (close == std::string::npos) continue;
            if (inSection) return false;  // the first section of that name ended without the key
            inSection = SameName(Trim(line.substr(1, close - 1)), section);
            continue;
        }
        if (!inSection) continue;
        size_t eq = line.find('=');
        if (!SameName(Trim(line.substr(0, eq)), key)) continue;
        if (eq == std::string::npos) return false;
        std::string v = Trim(line.substr(eq + 1));
        if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
        *value = v;
        return true;
    }
    return false;
}

// The file's bytes, or false when there is no such file. A name without any folder is looked
// for in the Windows folder; any other path is resolved as the file functions resolve it.
bool ReadFileLocked(const char* fileName, std::string* content) {
    std::string path = fileName ? fileName : "";
    if (path.find_first_of("\\/") == std::string::npos) path = kWindowsFolder + path;
    auto it = S().files.find(NormalisePath(path));
    if (it == S().files.end() || it->second.folder) return false;
    *content = it->second.content;
    return true;
}

}  // namespace

// The key's value, or (section, key or file missing) the default text without its trailing
// blanks; cut to nSize - 1 characters and terminated. Returns the number of characters placed,
// not counting the terminator. Each call is recorded as
// GetPrivateProfileStringA("section","key","file"). The forms with a null section or key, which list names, are not
// simulated: the launcher never uses them.
DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                                      LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) {
    if (lpAppName == NULL || lpKeyName == NULL) {
        throw SimulationError("GetPrivateProfileStringA: listing sections or keys is not simulated");
    }
    std::string content;
    bool haveFile;
    {
        std::unique_lock<std::mutex> lock(S().mu);
        CheckAlive(lock);
        // Recorded so that tests can tell which settings were read, and from which file.
        S().calls.push_back(std::string("GetPrivateProfileStringA(\"") + lpAppName + "\",\"" + lpKeyName + "\",\"" +
                            (lpFileName ? lpFileName : "") + "\")");
        haveFile = ReadFileLocked(lpFileName, &content);
    }
    std::string text;
    if (!haveFile || !FindValue(content, lpAppName, lpKeyName, &text)) {
        text = lpDefault ? lpDefault : "";
        while (!text.empty() && text.back() == ' ') text.pop_back();
    }
    if (nSize == 0) return 0;
    size_t n = text.size() < nSize - 1 ? text.size() : nSize - 1;
    std::memcpy(lpReturnedString, text.data(), n);
    lpReturnedString[n] = '\0';
    return static_cast<DWORD>(n);
}
