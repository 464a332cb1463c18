// Simulated resource calls: each simulated process's module serves the resources of the
// compiled .res it was started with.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ResourceFile.h"
#include "ResourcesInternal.h"
#include "State.h"

using namespace winsim;

namespace winsim {

namespace {
ResName ToResName(LPCSTR p) {
    if (IS_INTRESOURCE(p)) return ResName::Ordinal(static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(p)));
    if (p[0] == '#') return ResName::Ordinal(static_cast<uint16_t>(std::atoi(p + 1)));
    return ResName::String(p);
}

std::shared_ptr<const ResourceFile> ModuleResources(HMODULE hModule) {
    std::lock_guard<std::mutex> lock(S().mu);
    Process* p = CurrentProcess();
    if (p == nullptr || (hModule != NULL && hModule != GetModuleHandleA(NULL))) return nullptr;
    return p->resources;
}

struct IconTable {
    std::mutex mu;
    std::map<HICON, IconImage> images;
    std::map<std::pair<const ResourceFile*, uint16_t>, HICON> loaded;
    std::uintptr_t next = 0x20000;
};

IconTable& Icons() {
    static IconTable table;
    return table;
}
}  // namespace

bool IconImageFor(HICON hIcon, IconImage* out) {
    std::lock_guard<std::mutex> lock(Icons().mu);
    auto it = Icons().images.find(hIcon);
    if (it == Icons().images.end()) return false;
    *out = it->second;
    return true;
}

bool DialogTemplateFor(HINSTANCE hInstance, LPCSTR lpTemplateName, DialogTemplate* out) {
    auto res = ModuleResources(hInstance);
    return res && lpTemplateName && res->LoadDialog(ToResName(lpTemplateName), *out);
}

}  // namespace winsim

HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
    auto res = ModuleResources(hModule);
    const ResourceEntry* e = res && lpName && lpType ? res->Find(ToResName(lpType), ToResName(lpName)) : nullptr;
    if (e == nullptr) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(e));
}

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC hResInfo) {
    if (hResInfo == NULL) return NULL;
    return const_cast<unsigned char*>(reinterpret_cast<const ResourceEntry*>(hResInfo)->data);
}

LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

DWORD WINAPI SizeofResource(HMODULE, HRSRC hResInfo) {
    return hResInfo ? static_cast<DWORD>(reinterpret_cast<const ResourceEntry*>(hResInfo)->size) : 0;
}

int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
    if (!CheckAliveUnlocked()) return 0;
    auto res = ModuleResources(hInstance);
    std::string text;
    if (lpBuffer == nullptr || cchBufferMax <= 0) return 0;
    if (!res || uID > 0xFFFF || !res->LoadString(uID, text)) {
        lpBuffer[0] = '\0';
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    size_t n = std::min(text.size(), static_cast<size_t>(cchBufferMax - 1));
    std::memcpy(lpBuffer, text.data(), n);
    lpBuffer[n] = '\0';
    return static_cast<int>(n);
}

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    if (!CheckAliveUnlocked()) return NULL;
    auto res = ModuleResources(hInstance);
    if (!res || lpIconName == nullptr || !IS_INTRESOURCE(lpIconName)) return NULL;
    uint16_t id = static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(lpIconName));
    // Icons loaded from a module are shared: the same number gives the same handle.
    std::lock_guard<std::mutex> lock(Icons().mu);
    auto key = std::make_pair(res.get(), id);
    auto it = Icons().loaded.find(key);
    if (it != Icons().loaded.end()) return it->second;
    IconImage image;
    if (!res->LoadIcon(ResName::Ordinal(id), image)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return NULL;
    }
    HICON h = reinterpret_cast<HICON>(Icons().next);
    Icons().next += 4;
    Icons().images[h] = image;
    Icons().loaded[key] = h;
    return h;
}
