// CCmdTarget and the message maps: tables that bind window messages and commands to member
// functions, each table chained to its base class's table.
#pragma once

#include <windows.h>

class CCmdTarget;

// One entry calls its handler through a thunk that unpacks the message's parameters into the
// handler's own signature (the entry macros below state each signature).
typedef LRESULT (*AFX_MSG_THUNK)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // window message, or WM_COMMAND for command entries
    UINT nCode;     // notification code for command entries
    UINT nID;       // first command id
    UINT nLastID;   // last command id
    AFX_MSG_THUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define CN_COMMAND 0

#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;  \
                                                      \
private:



#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                       \
        using ThisClass [[maybe_unused]] = theClass;                               \
        using TheBaseClass = baseClass;                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                          \
    { 0, 0, 0, 0, nullptr }                                                        \
    }                                                                              \
    ;                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                            \
    }

// ON_COMMAND(id, fn): void fn();
#define ON_COMMAND(id, memberFxn)                                                       \
    {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id),              \
     [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT {                                     \
         static_cast<ThisClass*>(p)->memberFxn();                                      \
         return 0;                                                                      \
     }},

// ON_MESSAGE(message, fn): LRESULT fn(WPARAM wParam, LPARAM lParam);
#define ON_MESSAGE(message, memberFxn)                                                  \
    {static_cast<UINT>(message), 0, 0, 0, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT { \
         return static_cast<ThisClass*>(p)->memberFxn(w, l);                           \
     }},

// ON_WM_PAINT(): void OnPaint();
#define ON_WM_PAINT()                                   \
    {WM_PAINT, 0, 0, 0, [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT { \
         static_cast<ThisClass*>(p)->OnPaint();          \
         return 0;                                       \
     }},

// ON_WM_QUERYDRAGICON(): HCURSOR OnQueryDragIcon();
#define ON_WM_QUERYDRAGICON()                                                   \
    {WM_QUERYDRAGICON, 0, 0, 0, [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT { \
         return reinterpret_cast<LRESULT>(static_cast<ThisClass*>(p)->OnQueryDragIcon()); \
     }},

// ON_WM_DRAWITEM(): void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
#define ON_WM_DRAWITEM()                                                            \
    {WM_DRAWITEM, 0, 0, 0, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT {      \
         static_cast<ThisClass*>(p)->OnDrawItem(static_cast<int>(w),                 \
                                                reinterpret_cast<LPDRAWITEMSTRUCT>(l)); \
         return TRUE;                                                                \
     }},

class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Routes a command through this object's message map chain; TRUE when a handler ran.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

    // The entry for a window message in this object's map chain, or NULL.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
