// CHandle: owns one kernel handle (event, thread, process, token) and closes it on every way
// out. Both NULL and INVALID_HANDLE_VALUE count as "no handle", as the API uses either.
#pragma once

#include <windows.h>

class CHandle {
public:
    CHandle() : m_h(NULL) {}
    explicit CHandle(HANDLE h) : m_h(h) {}
    CHandle(CHandle&& other) noexcept : m_h(other.Detach()) {}
    CHandle& operator=(CHandle&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    ~CHandle() { Close(); }

    bool IsValid() const { return m_h != NULL && m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }
    // Takes ownership of h, closing the handle held before.
    void Attach(HANDLE h) {
        Close();
        m_h = h;
    }
    HANDLE Detach() {
        HANDLE h = m_h;
        m_h = NULL;
        return h;
    }
    void Close() {
        if (IsValid()) CloseHandle(m_h);
        m_h = NULL;
    }

private:
    HANDLE m_h;
};
