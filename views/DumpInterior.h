#pragma once
#include <QSize>

#include <cstdint>
#include <string>
#include <vector>

#include "DumpLines.h"
#include "DumpTransfer.h"
#include "Scroller.h"
#include "ViewEvents.h"

class QMenu;

// Target memory as lines of hex bytes, words or double words, with a cursor on
// one item. Typing edits memory at the cursor; the popup menu runs the block
// commands. The view reads and writes the target itself; the vertical bar is a
// jog control that always springs back to its middle.
class TDumpInterior : public TScroller {
 public:
  using TAddrMode = TDumpLines::TAddrMode;
  using TDataMode = TDumpLines::TDataMode;
  using enum TDumpLines::TAddrMode;
  using enum TDumpLines::TDataMode;

  explicit TDumpInterior(QWidget* owner = nullptr);
  ~TDumpInterior() override;

  uint32_t Addr() const { return FAddr; }
  void SetAddr(uint32_t value);
  uint16_t Area() const { return FArea; }
  void SetArea(uint16_t value);
  TAddrMode AddrMode() const { return FAddrMode; }
  void SetAddrMode(TAddrMode value);
  TDataMode DataMode() const { return FDataMode; }
  void SetDataMode(TDataMode value);
  TColor AddressColor() const { return FAddressColor; }
  void SetAddressColor(TColor value);

  void SetNewAddress(uint16_t area, uint32_t addr);
  // The address of the cursor item; not masked.
  uint32_t GetOffset() const;
  int AreaAddrSize() const;
  // Item positions of a line (cx) and the most lines the view may show (cy).
  void GetScrollLimits(QSize& limits) const;
  // Outer pixel sizes: the prefix and one item of one line; 128 bytes.
  void GetMinMaxInfo(QSize& min, QSize& max) const;
  void CreateAllLines();
  void Refresh() override;

  // The edit dialog at the cursor, starting from initial. ParseArgs's result;
  // -1 when cancelled.
  int ModifyMemory(const std::string& initial);
  void LoadData(const std::string& fileName, int format, _LoadAreaType& area);
  void SaveData(const std::string& fileName, int format, _SaveAreaType& area);

  TNotifyEvent OnChange;
  TAddrChangedEvent OnAddrChanged;
  TDataModeChangedEvent OnDataModeChanged;

  QMenu* Popup() const { return FPopup; }

 protected:
  void CreateWnd() override;
  void Paint() override;
  void IOnLButtonDown(QObject* Sender, int Col, int Row) override;
  void IOnLButtonDblClk(QObject* Sender, int Col, int Row) override;
  void IOnHScroll(QObject* Sender, TNewScrollCode Code, int& Pos) override;
  void IOnVScroll(QObject* Sender, TNewScrollCode Code, int& Pos) override;
  void IOnSize(QObject* Sender, int SizeType, unsigned short Width, unsigned short Height) override;
  void IOnChar(QObject* Sender, unsigned short Char, int KeyData) override;
  void DrawCursor(TCursorMode Mode) override;

 private:
  TDumpLines Lines() const { return {FDataMode, FAddrMode, FArea}; }
  void CursorHome();
  void ReportAddress();
  void Changed();
  // The row the cursor may take: inside the visible lines and the lines built.
  int LimitRow(int row) const;
  void SetCursorPosition(int position);
  void BuildPopup();

  void FOnGotoAddr();
  void FOnModify();
  void FOnClearBlock();
  void FOnFillBlock();
  void FOnCopyBlock();
  void FOnReadBlock();
  void FOnSaveBlock();
  void FOnDataMode(TDataMode mode);

  uint16_t FArea = 1;
  uint32_t FAddr = 0;
  TAddrMode FAddrMode = ADDRx16;
  TDataMode FDataMode = BYTEx8;
  int FCursorCol = 0;
  int FCursorRow = 0;
  int FCursorWidth = 0;
  // The cursor item; the horizontal bar stands on it.
  int FCursorPos = 0;
  std::vector<std::string> FLines;
  QMenu* FPopup;
  TColor FAddressColor = 0xFFDFB5;
};
