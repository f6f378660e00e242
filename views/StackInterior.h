#pragma once
#include <QSize>

#include <cstdint>
#include <string>
#include <vector>

#include "Scroller.h"
#include "ViewEvents.h"

class QMenu;

// Target memory around the stack pointer, one item a line: its address and
// its value in hex, the line whose address is the stack pointer marked in the
// margin. Every stop puts the view on the stack pointer; in between the user
// scrolls by items or 256 bytes, jumps to an address and changes the item
// under the cursor. The cursor line stays while the items move under it.
class TStackInterior : public TScroller {
 public:
  enum TAddrMode : std::uint8_t { ADDRx8 = 0, ADDRx16 = 1, ADDRx24 = 2, ADDRx32 = 3 };
  enum TDataMode : std::uint8_t { DATA8 = 0, DATA16 = 1, DATA24 = 2, DATA32 = 3 };

  explicit TStackInterior(QWidget* Owner = nullptr);

  std::uint16_t Area() const { return FArea; }
  void SetArea(std::uint16_t Value);
  std::uint32_t Addr() const { return FAddr; }
  void SetAddr(std::uint32_t Value);
  TAddrMode AddrMode() const { return FAddrMode; }
  void SetAddrMode(TAddrMode Value);
  TDataMode DataMode() const { return FDataMode; }
  void SetDataMode(TDataMode Value);
  TColor AddrColor = 0xFFDFB5;
  // The view wrote target memory.
  TNotifyEvent OnChange;

  void Refresh() override;
  // To the stack pointer in the stack area; the cursor line stays.
  void Stopped();
  void GetMinMaxInfo(QSize& Min, QSize& Max) const;
  // Asks for a new value of the item under the cursor and writes it: 0 after
  // a write, -1 after Cancel, else the parser's failure.
  int Modify(const std::string& Initial);

  int CursorRow() const { return FCursorRow; }
  QMenu* Popup() const { return FPopup; }

 protected:
  void CreateAllLines();

  void CreateWnd() override;
  void Paint() override;
  void DrawCursor(TCursorMode Mode) override;
  void IOnLButtonDown(QObject* Sender, int Col, int Row) override;
  void IOnLButtonDblClk(QObject* Sender, int Col, int Row) override;
  void IOnHScroll(QObject* Sender, TNewScrollCode Code, int& Pos) override;
  void IOnVScroll(QObject* Sender, TNewScrollCode Code, int& Pos) override;
  void IOnSize(QObject* Sender, int SizeType, unsigned short Width, unsigned short Height) override;
  void IOnChar(QObject* Sender, unsigned short Char, int KeyData) override;

 private:
  int ItemWidth() const { return FDataMode + 1; }
  // Position, counted from 1, of the first blank of a line; 0 when it has none.
  static int BlankPosition(const std::string& Line);
  void FOnGotoAddr(QObject* Sender);
  void FOnOrigin(QObject* Sender);
  void FOnModify(QObject* Sender);

  std::uint16_t FArea = 1;
  std::uint32_t FAddr = 0;
  TAddrMode FAddrMode = ADDRx16;
  TDataMode FDataMode = DATA16;
  int FCursorCol = 0;
  int FCursorRow = 0;
  std::vector<std::string> FLines;
  QMenu* FPopup;
  TGlyph FSpGlyph;
  // The stack pointer when the lines were built; painting asks no target.
  std::uint32_t FSp = 0;
};
