#pragma once
#include <cstdint>

// The private window messages between the main window and the views keep their
// Win32 values, WM_USER + n.
enum : unsigned {
  WM_USER = 1024,
  UM_TARGETRESET = WM_USER + 2,
  UM_REFRESH = WM_USER + 3,
  UM_STOPPED = WM_USER + 4,
  UM_BEGINBUSY = WM_USER + 5,
  UM_ENDBUSY = WM_USER + 6,
  UM_STATUSTEXT = WM_USER + 7,
  UM_SHOWCPU = WM_USER + 8,
  UM_TRACEINTO = WM_USER + 14,
  UM_STEPOVER = WM_USER + 15,
  UM_TOGGLEBREAK = WM_USER + 16,
  UM_GOTOCURSOR = WM_USER + 17,
  UM_GO = WM_USER + 18,
  UM_TARGETEVENT = WM_USER + 19,
  UM_CLOSEDIALOG = WM_USER + 20,
  UM_QUIT = WM_USER + 21,
  UM_VIEWCLOSED = WM_USER + 22,
  UM_DISABLECOMMANDS = WM_USER + 23,
  UM_ENABLECOMMANDS = WM_USER + 24,
};

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
