#pragma once
#include <QWidget>

#include <cstdint>

#include "MessageBus.h"

class QAbstractButton;
class QLabel;
class TDumpInterior;

// A floating memory window: one dump view with its own area, address and
// grouping, under a bar with the cursor's address and four buttons that
// choose the grouping. Up to four can be open at once.
class TfrmMemory : public QWidget, public TMessageReceiver {
 public:
  explicit TfrmMemory(QWidget* Owner);

  void Dispatch(TMessage& message) override;

  TDumpInterior* DumpArea;
  QWidget* Panel1;
  QLabel* txtAddress;
  QWidget* Panel2;
  QAbstractButton* btn16Bytes;
  QAbstractButton* btnWord;
  QAbstractButton* btn8Bytes;
  QAbstractButton* btnDword;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  // The window is never larger than the view's largest size nor smaller
  // than its least, with the bar above it.
  void SetSizeLimits();
  void DumpAreaAddrChanged(uint16_t Area, uint32_t Addr);
  void DumpAreaDataModeChanged(uint16_t DataMode);
  void txtAddressDblClick();
  QAbstractButton* ModeButton(int DataMode) const;
};
