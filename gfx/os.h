// The two operating-system calls the program makes besides the engine: a
// modal message box and the program starter. Defined by the linked backend.
#pragma once

// Message box flags.
enum : unsigned {
  MB_FLAG_OK = 0x0000,
  MB_FLAG_ICON_ERROR = 0x0010,
  MB_FLAG_SYSTEM_MODAL = 0x1000,
};

// Show modes of the program starter.
enum : int {
  SHOW_NORMAL = 1,
  SHOW_CURRENT = 5,  // shown in its current size and position
};

// Shows a modal message box with no owner window and waits until it is
// closed. Returns 1 (OK) once closed, 0 if no box could be shown.
int OS_MessageBox(const char* text, const char* caption, unsigned flags);

// Starts a program from a command line of space-separated fields (double
// quotes group a field, doubled quotes stand for one). The program name
// "Explorer" with one address opens that address with the desktop's web-page
// opener. Never goes through a shell. Returns a value above 31 on success.
unsigned OS_StartProgram(const char* commandLine, int showMode);
