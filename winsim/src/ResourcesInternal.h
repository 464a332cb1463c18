// Resource pieces that other parts of winsim use: icon pictures for drawing, dialog templates
// for the dialog builder.
#pragma once

#include <windows.h>

#include "ResourceFile.h"

namespace winsim {

bool IconImageFor(HICON hIcon, IconImage* out);
bool DialogTemplateFor(HINSTANCE hInstance, LPCSTR lpTemplateName, DialogTemplate* out);

}  // namespace winsim
