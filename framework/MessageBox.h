#pragma once
// The program's message box: modal to the main window, an OK button unless
// asked otherwise, the program's name as its caption, and the exclamation icon
// unless the caller asks for another one (the stop icon before a fatal exit).
#include <windows.h>

int AfxMessageBox(const char* text, UINT type = MB_OK);
