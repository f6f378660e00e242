#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "CodeLines.h"
#include "Scroller.h"
#include "ViewEvents.h"

class QMenu;

// The code view: target memory of one area as disassembled instructions from
// a chosen address, with a margin that marks breakpoints and the program
// counter. It reaches target state only through its events, which the host
// window answers.
class TCodeInterior : public TScroller {
 public:
  enum TAddrMode : std::uint8_t { ADDRx8 = 0, ADDRx16 = 1, ADDRx24 = 2, ADDRx32 = 3 };

  explicit TCodeInterior(QWidget* owner = nullptr);
  ~TCodeInterior() override;

  std::uint32_t Addr() const { return FAddr; }
  void SetAddr(std::uint32_t value);
  std::uint16_t Area() const { return FArea; }
  void SetArea(std::uint16_t value);
  TAddrMode AddrMode() const { return FAddrMode; }
  void SetAddrMode(TAddrMode value);
  // The address of the cursor line.
  std::uint32_t CurrAddr() const;
  TColor AddressColor = 0xFFDFB5;

  TReadDataEvent OnReadData;
  TReadBreakEvent OnReadBreak;
  TWriteBreakEvent OnWriteBreak;
  TWritePCEvent OnWritePC;
  TReadPCEvent OnReadPC;
  TAssembleEvent OnAssemble;
  TGetSourceEvent OnGetSource;
  TNotifyEvent OnChange;

  void Refresh() override;
  // Puts the cursor on the program counter's line, or the program counter's
  // address at the top when it is not in view.
  void Stopped();
  void BreakToggle();
  // Assembles over the cursor line; the host's dialog starts from text.
  void AssembleLine(const std::string& text);
  void GetMinMaxInfo(QSize& Min, QSize& Max) const;

  int CursorRow() const { return FCursorRow; }
  bool SourceMode() const { return FSourceMode; }
  const TCodeLines& Lines() const { return FLines; }
  QMenu* Menu() const { return FMenu; }

 protected:
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
  void CreateAllLines();
  // Moves the first line by delta bytes, round the area's address space.
  void MoveAddr(std::int64_t delta);
  void ClampCursor();
  std::uint32_t ProgramCounter() const;

  void FOnGotoAddr();
  void FOnOrigin();
  void FOnToggleSource();
  void FOnAssemble();
  void FOnNewPC();

  std::uint16_t FArea = 1;
  std::uint32_t FAddr = 0;
  TAddrMode FAddrMode = ADDRx16;
  int FHOffset = 0;
  int FCursorRow = 0;
  TCodeLines FLines;
  QMenu* FMenu;
  bool FSourceMode = false;
  std::array<TGlyph, 3> FGlyphs;
};
