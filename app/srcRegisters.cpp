#include "srcRegisters.h"

#include <QPalette>

#include "RegsInterior.h"
#include "srcMain.h"

TfrmRegs::TfrmRegs(QWidget* Owner) : TRegisterListWindow(Owner, "Registers") {
  setObjectName(QStringLiteral("frmRegs"));
  setWindowTitle(QStringLiteral("Registers"));
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  resize(137, 174);
  RegsArea = new TRegsInterior(this);
  RegsArea->setObjectName(QStringLiteral("RegsArea"));
  SetView(RegsArea);
  FormCreate();
}

namespace {
// The main window opens it from its button and menu item.
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetViewFactory(TViewKind::Regs, [](TfrmMain& owner) -> QWidget* {
    auto* form = new TfrmRegs(&owner);
    form->show();
    form->RegsArea->setFocus();
    return form;
  });
});
}  // namespace
