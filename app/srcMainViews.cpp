// The list of open view windows and the commands that open, focus and close them.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

#include "Application.h"
#include "Configuration.h"
#include "Debug.h"
#include "MessageBox.h"
#include "srcMain.h"

namespace {
constexpr std::size_t MaxViews = 100;
}  // namespace

void TfrmMain::RegisterView(QWidget* view) {
  auto* receiver = dynamic_cast<TMessageReceiver*>(view);
  if (!receiver || FViews.size() >= MaxViews) return;
  const HWND handle = receiver->Handle();
  // However the window goes, it leaves the list and releases its button.
  QMetaObject::Connection destroyed =
      connect(view, &QObject::destroyed, this, [this, handle] { ForgetView(handle); });
  FViews.push_back({handle, view, std::nullopt, destroyed});
}

void TfrmMain::UnregisterView(QWidget* view) {
  if (auto* receiver = dynamic_cast<TMessageReceiver*>(view)) ForgetView(receiver->Handle());
}

HWND TfrmMain::ViewHandle(int index) const {
  return index >= 0 && index < ViewCount() ? FViews[static_cast<std::size_t>(index)].Handle : 0;
}

void TfrmMain::BroadcastToViews(unsigned msg, WPARAM wParam, LPARAM lParam) {
  // A view may close itself meanwhile; the handles are copied so that every
  // view listed now hears the message once, in the order of registration.
  std::vector<HWND> handles;
  handles.reserve(FViews.size());
  for (const TOpenView& view : FViews) handles.push_back(view.Handle);
  for (HWND handle : handles) SendMessage(handle, msg, wParam, lParam);
}

QWidget* TfrmMain::OpenForm(TViewKind kind) const {
  for (const TOpenView& view : FViews)
    if (view.Kind == kind && view.Form) return view.Form;
  return nullptr;
}

bool TfrmMain::OpenView(TViewKind kind) {
  auto factory = FFactories.find(kind);
  if (factory == FFactories.end() || !factory->second) return false;
  QWidget* form = factory->second(*this);
  if (!dynamic_cast<TMessageReceiver*>(form) || FViews.size() >= MaxViews) {
    delete form;
    return false;
  }
  RegisterView(form);
  FViews.back().Kind = kind;
  return true;
}

void TfrmMain::CloseView(TViewKind kind) {
  if (QWidget* form = OpenForm(kind)) form->close();
}

void TfrmMain::ForgetView(HWND handle) {
  auto open = std::find_if(FViews.begin(), FViews.end(), [handle](const TOpenView& view) { return view.Handle == handle; });
  if (open == FViews.end()) return;
  const std::optional<TViewKind> kind = open->Kind;
  disconnect(open->Destroyed);
  FViews.erase(open);
  if (kind == TViewKind::Dump)
    --FDumpCount;
  else if (kind)
    ViewButton(*kind)->setChecked(false);
}

void TfrmMain::ViewClosed(QWidget* form) {
  if (!form) return;
  for (const TOpenView& view : FViews) {
    if (view.Form != form) continue;
    ForgetView(view.Handle);
    // The close may have come through a busy operation's event pump or a
    // dialog's loop, whose handler goes on using the window when it returns.
    TApplication::AfterHandlers([form = QPointer<QWidget>(form)] { delete form; });
    return;
  }
}

void TfrmMain::ViewButtonClick(TViewKind kind) {
  QAction* button = ViewButton(kind);
  if (!button->isChecked()) {
    CloseView(kind);
    return;
  }
  if (kind == TViewKind::Source && !TheDebug->GetLoadedFile(nullptr, nullptr, nullptr)) {
    MessageBox("No source files available !", "ERROR", MB_OK | MB_ICONSTOP);
    button->setChecked(false);
    return;
  }
  if (!OpenView(kind)) button->setChecked(false);
}

void TfrmMain::ViewMenuClick(TViewKind kind) {
  QAction* button = ViewButton(kind);
  if (!button->isChecked()) {
    button->setChecked(true);
    ViewButtonClick(kind);
    return;
  }
  QWidget* form = OpenForm(kind);
  if (!form) return;
  // An MDI child's form sits inside the sub-window that the area activates.
  auto* child = qobject_cast<QMdiSubWindow*>(form);
  if (!child) child = qobject_cast<QMdiSubWindow*>(form->parentWidget());
  if (child) FMdiArea->setActiveSubWindow(child);
  form->activateWindow();
  form->setFocus();
}

void TfrmMain::ViewDumpClick() {
  if (FDumpCount >= 4) {
    MessageBox("No more dump windows available", "WARNING", MB_OK | MB_ICONWARNING);
    return;
  }
  if (OpenView(TViewKind::Dump)) ++FDumpCount;
}

void TfrmMain::ShowCpu() {
  for (QMdiSubWindow* child : FMdiArea->subWindowList()) {
    if (child->objectName() != QLatin1String("frmCpu") &&
        !(child->widget() && child->widget()->objectName() == QLatin1String("frmCpu")))
      continue;
    FMdiArea->setActiveSubWindow(child);
    child->raise();
    return;
  }
  ViewMenuClick(TViewKind::Cpu);
}

