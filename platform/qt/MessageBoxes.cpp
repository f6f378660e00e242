#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include "MessageBox.h"

namespace {

QMessageBox::Icon IconOf(unsigned flags) {
  switch (flags & 0xF0) {
    case MB_ICONSTOP: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons ButtonsOf(unsigned flags) {
  switch (flags & 0x0F) {
    case MB_OKCANCEL: return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
  }
}

int ResultOf(int button) {
  switch (button) {
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDOK;
  }
}

int ShowMessageBox(const char* text, const char* caption, unsigned flags) {
  QMessageBox box(IconOf(flags), QString::fromUtf8(caption), QString::fromUtf8(text), ButtonsOf(flags),
                  QApplication::activeWindow());
  return ResultOf(box.exec());
}

}  // namespace

void InstallMessageBoxes() { SetMessageBoxHandler(ShowMessageBox); }
