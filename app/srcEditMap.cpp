#include "srcEditMap.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ModalDialog.h"
#include "Utility.h"

TfrmEditMap::TfrmEditMap(QWidget* Owner, const QString& ClearName, const QString& SetName)
    : TTargetDialog(Owner) {
  setObjectName(QStringLiteral("frmEditMap"));
  setFixedSize(217, 125);
  Label1 = new QLabel(QStringLiteral("&Start address, End address :"), this);
  Label1->move(4, 4);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setGeometry(4, 20, 209, 21);
  Label1->setBuddy(Edit1);
  RadioGroup1 = new QGroupBox(this);
  RadioGroup1->setGeometry(4, 44, 209, 49);
  RadioItems = new QButtonGroup(this);
  int id = 0;
  for (const QString& name : {ClearName, SetName}) {
    auto* item = new QRadioButton(name, RadioGroup1);
    item->setGeometry(8, 6 + 20 * id, 195, 18);
    RadioItems->addButton(item, id++);
  }
  Button1 = new QPushButton(QStringLiteral("&Ok"), this);
  Button1->setGeometry(60, 100, 73, 21);
  Button1->setDefault(true);
  Button2 = new QPushButton(QStringLiteral("&Cancel"), this);
  Button2->setGeometry(140, 100, 73, 21);
  Button2->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, &TfrmEditMap::Button1Click);
  connect(Button2, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TfrmEditMap::Button1Click() {
  struct {
    std::uint32_t Start;
    std::uint32_t End;
  } range{};
  if (ParseArgs("D,D", Edit1->text().toLatin1().constData(), &range, sizeof range) != 0) return;
  FStart = range.Start;
  FEnd = range.End;
  FKind = static_cast<std::uint8_t>(std::max(RadioItems->checkedId(), 0));
  done(mrOk);
}
