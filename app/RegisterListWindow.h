#pragma once
#include <QWidget>

#include <string>

#include "MessageBus.h"

class TRegisterListInterior;

// The body shared by the register and special-register windows: a floating
// tool window above the main window that holds one register view, sized
// within the view's limits, rebuilt on every refresh and stop, and kept where
// the user left it between runs under its registry value name.
class TRegisterListWindow : public QWidget, public TMessageReceiver {
 public:
  // View is made by the derived window with this window as its parent.
  TRegisterListWindow(QWidget* Owner, std::string ValueName);
  ~TRegisterListWindow() override;

  void Dispatch(TMessage& message) override;

 protected:
  // Lays the view over the whole client area and sets the size limits from it.
  void SetView(TRegisterListInterior* View);
  // Puts the window where it was last left, when that was stored.
  void FormCreate();
  void closeEvent(QCloseEvent* event) override;

 private:
  TRegisterListInterior* FView = nullptr;
  std::string FValueName;
};
