// Simulated critical sections, thread-local storage and wsprintf.
#include <windows.h>

#include <cstdio>
#include <mutex>
#include <vector>

namespace {
std::vector<LPVOID>& Slots() {
    thread_local std::vector<LPVOID> slots;
    return slots;
}

std::mutex g_tlsLock;
std::vector<bool>& Allocated() {
    static std::vector<bool> allocated;
    return allocated;
}
}  // namespace

void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION cs) {
    *cs = CRITICAL_SECTION();
    cs->DebugInfo = new std::recursive_mutex;
}

void WINAPI EnterCriticalSection(LPCRITICAL_SECTION cs) { static_cast<std::recursive_mutex*>(cs->DebugInfo)->lock(); }

void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION cs) { static_cast<std::recursive_mutex*>(cs->DebugInfo)->unlock(); }

void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION cs) {
    delete static_cast<std::recursive_mutex*>(cs->DebugInfo);
    cs->DebugInfo = nullptr;
}

DWORD WINAPI TlsAlloc() {
    std::lock_guard<std::mutex> lock(g_tlsLock);
    std::vector<bool>& a = Allocated();
    for (size_t i = 0; i < a.size(); ++i) {
        if (!a[i]) {
            a[i] = true;
            return static_cast<DWORD>(i);
        }
    }
    a.push_back(true);
    return static_cast<DWORD>(a.size() - 1);
}

BOOL WINAPI TlsFree(DWORD dwTlsIndex) {
    std::lock_guard<std::mutex> lock(g_tlsLock);
    if (dwTlsIndex >= Allocated().size()) return FALSE;
    Allocated()[dwTlsIndex] = false;
    return TRUE;
}

LPVOID WINAPI TlsGetValue(DWORD dwTlsIndex) {
    std::vector<LPVOID>& slots = Slots();
    return dwTlsIndex < slots.size() ? slots[dwTlsIndex] : nullptr;
}

BOOL WINAPI TlsSetValue(DWORD dwTlsIndex, LPVOID lpTlsValue) {
    std::vector<LPVOID>& slots = Slots();
    if (dwTlsIndex >= slots.size()) slots.resize(dwTlsIndex + 1, nullptr);
    slots[dwTlsIndex] = lpTlsValue;
    return TRUE;
}

int WINAPI wvsprintfA(LPSTR lpOut, LPCSTR lpFmt, va_list arglist) {
    int n = std::vsnprintf(lpOut, 1025, lpFmt, arglist);
    return n > 1024 ? 1024 : n;
}

int WINAPIV wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...) {
    va_list args;
    va_start(args, lpFmt);
    int n = wvsprintfA(lpOut, lpFmt, args);
    va_end(args);
    return n;
}
