// Small synchronisation helpers of the class library, on the system's own primitives: a
// critical section with a scoped lock, and a per-thread pointer slot.
#pragma once

#include <windows.h>

class CCriticalSection {
public:
    CCriticalSection() { InitializeCriticalSection(&m_cs); }
    ~CCriticalSection() { DeleteCriticalSection(&m_cs); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    void Lock() { EnterCriticalSection(&m_cs); }
    void Unlock() { LeaveCriticalSection(&m_cs); }

private:
    CRITICAL_SECTION m_cs;
};

// Holds the lock for its scope, on every way out.
class CScopedLock {
public:
    explicit CScopedLock(CCriticalSection& cs) : m_cs(cs) { m_cs.Lock(); }
    ~CScopedLock() { m_cs.Unlock(); }
    CScopedLock(const CScopedLock&) = delete;
    CScopedLock& operator=(const CScopedLock&) = delete;

private:
    CCriticalSection& m_cs;
};

// One pointer per thread, NULL until the thread sets it.
template <class T>
class CThreadSlot {
public:
    CThreadSlot() : m_dwIndex(TlsAlloc()) {}
    ~CThreadSlot() { TlsFree(m_dwIndex); }
    CThreadSlot(const CThreadSlot&) = delete;
    CThreadSlot& operator=(const CThreadSlot&) = delete;
    T* Get() const { return static_cast<T*>(TlsGetValue(m_dwIndex)); }
    void Set(T* p) { TlsSetValue(m_dwIndex, p); }

private:
    DWORD m_dwIndex;
};
