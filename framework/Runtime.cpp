// The few pieces of the C++ run-time that setup.exe needs, on the system's heap, so that the
// program carries no exception machinery: memory for new and delete, the handler for a call
// of a pure virtual function, and the class library's resource error. Linked into setup.exe only; test programs keep the
// compiler's own.
#include <windows.h>

#include <cstddef>
#include <new>

namespace {
// The class library's handling of exhausted memory: nothing sensible can go on, so the program
// ends at once with the system's "not enough memory" code.
void* AllocateOrEnd(std::size_t size) {
    void* p = HeapAlloc(GetProcessHeap(), 0, size != 0 ? size : 1);
    if (p == nullptr) ExitProcess(ERROR_NOT_ENOUGH_MEMORY);
    return p;
}

void Release(void* p) {
    if (p != nullptr) HeapFree(GetProcessHeap(), 0, p);
}
}  // namespace

void* operator new(std::size_t size) { return AllocateOrEnd(size); }
void* operator new[](std::size_t size) { return AllocateOrEnd(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return HeapAlloc(GetProcessHeap(), 0, size != 0 ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return HeapAlloc(GetProcessHeap(), 0, size != 0 ? size : 1); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

extern "C" void __cxa_pure_virtual() { ExitProcess(3); }

// The class library's resource error: a pen or brush the system cannot make. Without exception
// machinery the request cannot be unwound, and a system out of drawing resources cannot go on
// either: the program ends at once with the system's code for it.
#include "Gdi.h"

void AfxThrowResourceException() { ExitProcess(ERROR_NO_SYSTEM_RESOURCES); }
