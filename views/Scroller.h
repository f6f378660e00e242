#pragma once
#include <QAbstractScrollArea>
#include <QPoint>
#include <QSize>

#include <cstdint>

#include "Canvas.h"
#include "VirtualKeys.h"

class QMenu;
class QScrollBar;

enum TScrollStyle : std::uint8_t { ssNone = 0, ssHorizontal = 1, ssVertical = 2, ssBoth = 3 };

// Base of the debugger views: a grid of equal character cells in one
// fixed-pitch font. It turns keyboard, mouse, focus, size and scroll-bar input
// into the virtual hooks below, converts between pixels and cells, and tells a
// host how large it must be to show a number of characters and lines. It draws
// nothing itself: a view paints its lines on Canvas from Paint, and may draw on
// Canvas at any other time (its cursor, from a focus or key handler).
//
// Like a window that is created when first needed, the control sets itself up
// in CreateWnd the first time it is polished, shown or asked for by
// HandleNeeded, and again whenever its frame or scroll bars change; views put
// what depends on their host's events there.
class TScroller : public QAbstractScrollArea {
 public:
  enum TBorderMode : std::uint8_t { bsNone = 0, bsSingle = 1 };
  enum TCursorMode { cmHide = 0, cmShow = 1 };
  enum TNewScrollCode {
    nscLineUp = 0,
    nscLineDown = 1,
    nscPageUp = 2,
    nscPageDown = 3,
    nscPosition = 4,
    nscTrack = 5,
    nscTop = 6,
    nscBottom = 7,
    nscEndScroll = 8,
    nscBarLineUp = 9,
    nscBarLineDown = 10,
  };

  explicit TScroller(QWidget* owner = nullptr);
  ~TScroller() override;

  TBorderMode BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderMode value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool value);
  int HMargin() const { return FHMargin; }
  void SetHMargin(int pixels);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& font);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool value);
  // Shown on a right click; not owned.
  QMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }

  int HScrollPos() const;
  void SetHScrollPos(int pos);
  int VScrollPos() const;
  void SetVScrollPos(int pos);
  void SetHScrollParams(int min, int max, int pos);
  void SetVScrollParams(int min, int max, int pos);
  int GetHScrollMax() const;
  int GetVScrollMax() const;

  int GetColWidth() const { return FCharSize.width(); }
  int GetLineHeight() const { return FCharSize.height(); }
  void MapPixelsToChars(QPoint& point) const;
  void MapCharsToPixels(QPoint& point) const;
  // Whole text lines that fit in the control's outer height; never negative.
  int GetNumLines() const;
  // The outer size of a control that shows chars.width() columns and
  // chars.height() lines.
  void ComputeAreaSize(const QSize& chars, QSize& pixels) const;

  TCanvas* Canvas() { return &FCanvas; }
  const TCanvas* Canvas() const { return &FCanvas; }

  // Paint runs again before the control next reaches the screen.
  void Invalidate();
  // Runs a pending Paint now.
  void Update();
  void Repaint() {
    Invalidate();
    Update();
  }

  bool HandleAllocated() const { return FHandleAllocated; }
  void HandleNeeded();

  // Rebuild the contents and repaint.
  virtual void Refresh() {}

 protected:
  // The hooks the views override; here they do nothing.
  virtual void IOnLButtonDown(QObject* Sender, int Col, int Row);
  virtual void IOnLButtonDblClk(QObject* Sender, int Col, int Row);
  virtual void IOnHScroll(QObject* Sender, TNewScrollCode Code, int& Pos);
  virtual void IOnVScroll(QObject* Sender, TNewScrollCode Code, int& Pos);
  virtual void IOnSize(QObject* Sender, int SizeType, unsigned short Width, unsigned short Height);
  virtual void IOnKeyDown(QObject* Sender, unsigned short& Key, TShiftState Shift);
  virtual void IOnChar(QObject* Sender, unsigned short Char, int KeyData);
  virtual void DrawCursor(TCursorMode Mode);
  // The thumb dropped at position of a list whose window shows rows rows from
  // top: above the window it becomes the top row, within it the cursor row,
  // below it the last row.
  static void ThumbTo(int position, int rows, int& top, int& cursor);

  virtual void CreateWnd();
  virtual void Paint() {}

  bool FFocused = false;

  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void scrollContentsBy(int, int) override {}

 private:
  enum TBar { HorizontalBar, VerticalBar };

  void MeasureCharSize();
  void ApplyWindowStyle();
  void RecreateWnd();
  bool HasBar(TBar bar) const;
  QScrollBar* Bar(TBar bar) const;
  void SetBarPosition(TBar bar, int pos);
  // Calls the bar's hook with pos and moves the bar where the hook leaves it.
  void Scroll(TBar bar, TNewScrollCode code, int pos);
  void BarAction(TBar bar, int action);
  void MouseDown(QMouseEvent* event);
  void KeyDown(unsigned short key, TShiftState shift);
  // Clicks the vertical bar's line arrow three times a notch; false when
  // there is no vertical bar.
  bool Wheel(int angleDelta);

  TBorderMode FBorderStyle = bsSingle;
  TScrollStyle FScrollBars = ssNone;
  int FHMargin = 0;
  QSize FCharSize;
  TFont FFont;

  TColor FColor;
  bool FCtl3D = true;
  bool FTabStop = true;
  QMenu* FPopupMenu = nullptr;
  TCanvas FCanvas;
  bool FHandleAllocated = false;
  bool FNeedsPaint = true;
  bool FMovingBar = false;  // a bar position set by the control itself, not by the user
  bool FBarPressed[2] = {false, false};
  int FWheelRemainder = 0;
};
