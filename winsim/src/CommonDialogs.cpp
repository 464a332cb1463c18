// Simulated file-open dialog: the scripted user sees the whole record and confirms a path or
// cancels; the record is checked as the real dialog checks it.
#include <commdlg.h>

#include <cstring>

#include "ResourcesInternal.h"
#include "UserInternal.h"

using namespace winsim;

namespace {
thread_local DWORD t_dwCommDlgError = 0;

// The record's size field, as the 32-bit system knows it: the record's first form (76 bytes)
// or its full form (88 bytes). The host's own size of the full record is accepted too.
bool KnownRecordSize(DWORD size) { return size == 76 || size == 88 || size == sizeof(OPENFILENAMEA); }
}  // namespace

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA lpofn) {
    if (!CheckAliveUnlocked()) return FALSE;
    t_dwCommDlgError = 0;
    if (lpofn == nullptr || !KnownRecordSize(lpofn->lStructSize)) {
        t_dwCommDlgError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (lpofn->Flags & OFN_ENABLETEMPLATE) {
        DialogTemplate t;
        if (!DialogTemplateFor(lpofn->hInstance, lpofn->lpTemplateName, &t)) {
            t_dwCommDlgError = CDERR_FINDRESFAILURE;
            return FALSE;
        }
    }
    ModalView view;
    view.kind = ModalView::kOpenFile;
    view.pid = GetCurrentProcessId();
    view.owner = lpofn->hwndOwner;
    view.record = lpofn;
    bool disabled = lpofn->hwndOwner != NULL && IsWindowEnabled(lpofn->hwndOwner);
    if (disabled) EnableWindow(lpofn->hwndOwner, FALSE);
    UserAnswer answer = AskUser(view);
    if (disabled) EnableWindow(lpofn->hwndOwner, TRUE);
    if (answer.cancel) return FALSE;
    if (answer.path.size() + 1 > lpofn->nMaxFile) {
        t_dwCommDlgError = FNERR_BUFFERTOOSMALL;
        return FALSE;
    }
    std::memcpy(lpofn->lpstrFile, answer.path.c_str(), answer.path.size() + 1);
    size_t slash = answer.path.rfind('\\');
    lpofn->nFileOffset = static_cast<WORD>(slash == std::string::npos ? 0 : slash + 1);
    return TRUE;
}

DWORD WINAPI CommDlgExtendedError() {
    winsim::World::Get().RecordCall("CommDlgExtendedError");
    return t_dwCommDlgError;
}
