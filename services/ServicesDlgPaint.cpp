// CServicesDlg painting: the owner-drawn icon buttons, the minimised dialog's icon and the
// drag cursor.
#include "ServicesDlg.h"

// Provisional: buttons are left to the system until their painting is built.
void CServicesDlg::OnDrawItem(int, LPDRAWITEMSTRUCT) {}

void CServicesDlg::OnPaint() { Default(); }

HCURSOR CServicesDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }
