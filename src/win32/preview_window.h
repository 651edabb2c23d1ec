// The preview in the Screen Saver dialog: a child window of the dialog's preview window.
#pragma once

#include <windows.h>

#include "package/project.h"

namespace kx::win32 {

// Makes a child window over the parent's client area and runs the preview in it (the
// preview picture, then the silent show) until the parent goes away. The child paints
// itself on WM_PAINT and WM_PRINTCLIENT, so the picture stays when the dialog repaints.
void RunPreviewWindow(const TKXCProject& project, HWND parent);

}  // namespace kx::win32
