// The Windows API as the front end includes it. windows.h names its message box function
// MessageBox through a macro, which would rename the program's own MessageBox service; the macro
// goes here, once, and the front end calls MessageBoxW by its own name.
#pragma once

#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#undef MessageBox
