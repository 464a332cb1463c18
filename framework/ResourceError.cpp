// The class library's resource error where exceptions are available (the host build): the
// error unwinds the request being handled, and the pens and brushes already made are deleted
// as it passes. setup.exe carries no exception machinery; its own version is in Runtime.cpp.
#include "Gdi.h"

void AfxThrowResourceException() { throw CResourceException(); }
