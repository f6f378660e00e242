#pragma once
#include <array>
#include <string>

#include "Scroller.h"
#include "TraceLines.h"

// The view of the trace window: the target's trace buffer as instruction
// lines, bus-cycle lines and blank separators, by the three mode flags. The
// vertical bar is a relative control: its thumb rests in the middle, and
// every scroll moves the trace by a row or a page.
class TTraceInterior : public TScroller {
 public:
  explicit TTraceInterior(QWidget* owner = nullptr);

  void MoveTo(int frame, int keyword, unsigned short mode);
  void Rebuild();
  int ParseFrame(int line) { return FLines.ParseFrame(line); }

  int CursorRow() const { return FCursorRow; }

 protected:
  void IOnLButtonDown(QObject* Sender, int Col, int Row) override;
  void IOnVScroll(QObject* Sender, TNewScrollCode Code, int& Pos) override;
  void DrawCursor(TCursorMode Mode) override;
  void CreateWnd() override;
  void Paint() override;

 private:
  // What the cursor redraws of a row: its colour and first 80 characters.
  struct TRowText {
    TTraceColor Color = TRACE_BLACK;
    std::string Text;
  };
  static constexpr std::size_t ROW_TEXT_WIDTH = 80;

  TTraceLines FLines;
  int FCursorRow = 0;
  std::array<TRowText, TTraceLines::CACHE_LINES> FRowTexts;
};
