#pragma once
#include <QDialog>

class QListWidget;
class QPushButton;
struct TModuleEntry;

// The modal choice of the module the source window shows, one item per
// module of the loaded object file.
class TfrmOpenModule : public QDialog {
 public:
  explicit TfrmOpenModule(QWidget* owner);

  QListWidget* lbModules;
  QPushButton* cmdOpen;
  QPushButton* cmdCancel;
  // The module chosen with Open or a double click; null when none.
  const TModuleEntry* FSelectedModule = nullptr;

 private:
  void cmdOpenClick();
};
