#include "srcSRegisters.h"

#include "SRegsInterior.h"
#include "srcMain.h"

TfrmSRegs::TfrmSRegs(QWidget* Owner) : TRegisterListWindow(Owner, "SRegisters") {
  setObjectName(QStringLiteral("frmSRegs"));
  setWindowTitle(QStringLiteral("Special Registers"));
  setGeometry(370, 306, 146, 153);
  SRegsArea = new TSRegsInterior(this);
  SRegsArea->setObjectName(QStringLiteral("SRegsArea"));
  SetView(SRegsArea);
  FormCreate();
}

namespace {
// The main window opens it from its button and menu item.
const bool installed = TfrmMain::AddWindowUnit([](TfrmMain& main) {
  main.SetViewFactory(TViewKind::SRegs, [](TfrmMain& owner) -> QWidget* {
    auto* form = new TfrmSRegs(&owner);
    form->show();
    return form;
  });
});
}  // namespace
