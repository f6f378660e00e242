#pragma once
#include <cstdint>

#include "Messages.h"

class QWidget;

// Windows talk to each other by numbered messages, as they did through window
// handles: a receiver gets a handle when it is made, and a message to a handle
// whose receiver is gone is simply not delivered. Handles are never reused.
using HWND = std::uint32_t;  // 0: no window

struct TMessage {
  unsigned Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

class TMessageReceiver {
 public:
  TMessageReceiver();
  virtual ~TMessageReceiver();
  TMessageReceiver(const TMessageReceiver&) = delete;
  TMessageReceiver& operator=(const TMessageReceiver&) = delete;

  HWND Handle() const { return handle_; }

  // Handles one message; messages a receiver does not know leave Result at 0.
  virtual void Dispatch(TMessage& message) = 0;

 private:
  HWND handle_;
};

// Delivers the message at once and returns the receiver's Result (0 when the
// handle names no receiver).
LRESULT SendMessage(HWND target, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);

// Queues the message for the event loop; false when the handle names no
// receiver now. A receiver that is destroyed before delivery never sees it.
bool PostMessage(HWND target, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);

// A view window posts this from its close handler; the main window then takes
// it off the view list and deletes it. The form is only compared, never used,
// by the receiver of UM_VIEWCLOSED, which reads it back with ClosedView.
bool PostViewClosed(QWidget* form);
QWidget* ClosedView(const TMessage& message);

bool IsWindow(HWND handle);
TMessageReceiver* FindReceiver(HWND handle);

// The application's main form. Making a receiver the main form routes the
// engine's SendToMainForm to it and lets PostQuitMessage end the event loop
// with the quit code as the program's exit code. Null clears it.
HWND MainForm();
void SetMainForm(TMessageReceiver* receiver);
