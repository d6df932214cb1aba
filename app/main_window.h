// The toolbar program: a main window with a five-button toolbar and two tooltip controls.
// It uses nothing of the runtime library.
#pragma once

#include "platform/types.h"

namespace app {

// What the program keeps between messages. The balloon tooltip control is not kept.
struct ProgramState {
  HINSTANCE moduleInstance;
  HWND mainWindow;
  HWND toolbar;
  HWND buttonTooltips;  // the tooltip control handed to the toolbar
};
extern ProgramState g_program;

// Obtains the module instance, initialises the common controls and runs the main window;
// returns the quit code.
int RunProgram();
// RunProgram, then ends the process with its result.
[[noreturn]] void ProgramEntry();

// Registers the class, creates, centres and shows the main window and runs the message loop
// until it ends; returns the quit code. The class takes g_program.moduleInstance.
int RunMainWindow(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine,
                  int showCommand);

// Builds the toolbar and the tooltips on WM_CREATE of a window without a parent and posts
// the quit message on WM_DESTROY; everything else goes to DefWindowProcA.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace app
