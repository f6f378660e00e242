#include "srcOpenModule.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>

#include "Configuration.h"
#include "Debug.h"
#include "ModalDialog.h"

TfrmOpenModule::TfrmOpenModule(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmOpenModule"));
  setWindowTitle(QStringLiteral("Open module"));
  setFont(DialogFont());
  setFixedSize(269, 169);

  lbModules = new QListWidget(this);
  lbModules->setObjectName(QStringLiteral("lbModules"));
  lbModules->setGeometry(8, 8, 253, 121);
  cmdOpen = new QPushButton(QStringLiteral("&Open"), this);
  cmdOpen->setObjectName(QStringLiteral("cmdOpen"));
  cmdOpen->setGeometry(106, 137, 75, 25);
  cmdOpen->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  cmdCancel->setGeometry(186, 137, 75, 25);

  for (const TModuleEntry* module = TheDebug->FirstModule(); module; module = TheDebug->NextModule()) {
    const QByteArray name(module->ModuleName, static_cast<qsizetype>(qstrnlen(module->ModuleName, sizeof module->ModuleName)));
    auto* item = new QListWidgetItem(QFile::decodeName(name), lbModules);
    item->setData(Qt::UserRole, QVariant::fromValue(static_cast<const void*>(module)));
  }
  if (lbModules->count() > 0) lbModules->setCurrentRow(0);

  connect(cmdOpen, &QPushButton::clicked, this, [this] {
    cmdOpenClick();
    done(mrOk);
  });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
  connect(lbModules, &QListWidget::itemDoubleClicked, this, [this] {
    cmdOpenClick();
    done(mrOk);
  });
}

void TfrmOpenModule::cmdOpenClick() {
  const QListWidgetItem* item = lbModules->currentItem();
  FSelectedModule = item ? static_cast<const TModuleEntry*>(item->data(Qt::UserRole).value<const void*>()) : nullptr;
}
