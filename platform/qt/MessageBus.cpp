#include "MessageBus.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include <unordered_map>

#include "MainFormMessages.h"

namespace {

std::unordered_map<HWND, TMessageReceiver*>& Receivers() {
  static std::unordered_map<HWND, TMessageReceiver*> receivers;
  return receivers;
}

HWND nextHandle = 1;
HWND mainForm = 0;

const QEvent::Type PostedMessageType = static_cast<QEvent::Type>(QEvent::registerEventType());

class TPostedMessage : public QEvent {
 public:
  TPostedMessage(HWND target, unsigned msg, WPARAM wParam, LPARAM lParam)
      : QEvent(PostedMessageType), Target(target), Msg(msg), WParam(wParam), LParam(lParam) {}
  HWND Target;
  unsigned Msg;
  WPARAM WParam;
  LPARAM LParam;
};

// Posted messages travel through the event queue of one object owned by the
// application, so they are lost together with the application, never
// delivered to a later one.
class TPostOffice : public QObject {
 public:
  using QObject::QObject;
  bool event(QEvent* e) override {
    if (e->type() != PostedMessageType) return QObject::event(e);
    auto* posted = static_cast<TPostedMessage*>(e);
    SendMessage(posted->Target, posted->Msg, posted->WParam, posted->LParam);
    return true;
  }
};

TPostOffice* PostOffice() {
  static QPointer<TPostOffice> office;
  if (!office && QCoreApplication::instance()) office = new TPostOffice(QCoreApplication::instance());
  return office;
}

}  // namespace

TMessageReceiver::TMessageReceiver() : handle_(nextHandle++) { Receivers()[handle_] = this; }

TMessageReceiver::~TMessageReceiver() {
  Receivers().erase(handle_);
  if (mainForm == handle_) SetMainForm(nullptr);
}

TMessageReceiver* FindReceiver(HWND handle) {
  auto found = Receivers().find(handle);
  return found == Receivers().end() ? nullptr : found->second;
}

bool IsWindow(HWND handle) { return FindReceiver(handle) != nullptr; }

LRESULT SendMessage(HWND target, unsigned msg, WPARAM wParam, LPARAM lParam) {
  TMessageReceiver* receiver = FindReceiver(target);
  if (!receiver) return 0;
  TMessage message{msg, wParam, lParam, 0};
  receiver->Dispatch(message);
  return message.Result;
}

bool PostMessage(HWND target, unsigned msg, WPARAM wParam, LPARAM lParam) {
  TPostOffice* office = PostOffice();
  if (!office || !IsWindow(target)) return false;
  QCoreApplication::postEvent(office, new TPostedMessage(target, msg, wParam, lParam));
  return true;
}

bool PostViewClosed(QWidget* form) { return PostMessage(MainForm(), UM_VIEWCLOSED, 0, reinterpret_cast<LPARAM>(form)); }

QWidget* ClosedView(const TMessage& message) { return reinterpret_cast<QWidget*>(message.LParam); }

HWND MainForm() { return mainForm; }

void SetMainForm(TMessageReceiver* receiver) {
  mainForm = receiver ? receiver->Handle() : 0;
  if (!receiver) {
    SetMainFormHandler(nullptr);
    return;
  }
  SetMainFormHandler([](unsigned msg, WPARAM wParam, LPARAM lParam) {
    return SendMessage(MainForm(), msg, wParam, lParam);
  });
  // Like a posted quit message: the loop ends once it reaches the request,
  // after whatever the caller still does.
  SetQuitHandler([](int exitCode) {
    if (QCoreApplication* app = QCoreApplication::instance())
      QMetaObject::invokeMethod(app, [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
  });
}
