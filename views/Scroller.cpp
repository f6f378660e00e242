#include "Scroller.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

#include "FixedFont.h"

namespace {

// Frame metrics of the windows the views were drawn for: a client edge is two
// pixels wide, a plain border one.
constexpr int EdgeWidth = 2;
constexpr int BorderWidth = 1;

// One notch of a mouse wheel, and the bar clicks it stands for.
constexpr int WheelNotch = 120;
constexpr int ClicksPerNotch = 3;

struct TKeyScroll {
  unsigned short Key;
  bool Vertical;
  TScroller::TNewScrollCode Plain;
  TScroller::TNewScrollCode WithCtrl;
};

constexpr TKeyScroll KeyScrolls[] = {
    {VK_PRIOR, true, TScroller::nscPageUp, TScroller::nscTop},
    {VK_NEXT, true, TScroller::nscPageDown, TScroller::nscBottom},
    {VK_UP, true, TScroller::nscLineUp, TScroller::nscPageUp},
    {VK_DOWN, true, TScroller::nscLineDown, TScroller::nscPageDown},
    {VK_HOME, false, TScroller::nscTop, TScroller::nscTop},
    {VK_END, false, TScroller::nscBottom, TScroller::nscBottom},
    {VK_LEFT, false, TScroller::nscLineUp, TScroller::nscPageUp},
    {VK_RIGHT, false, TScroller::nscLineDown, TScroller::nscPageDown},
};

// The Delete key types DEL; its virtual-key code goes along as the key data.
constexpr unsigned short DeleteCharacter = 127;

}  // namespace

TScroller::TScroller(QWidget* owner) : QAbstractScrollArea(owner), FColor(clBtnFace) {
  FFont.Font = FixedFont();
  FCanvas.Font = FFont;
  FCanvas.OnChange = [this](const QRect& changed) { viewport()->update(changed); };
  setFocusPolicy(Qt::TabFocus);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  for (TBar bar : {HorizontalBar, VerticalBar}) {
    QScrollBar* scrollBar = Bar(bar);
    // The view decides where its bars stand: a bar reports what the user did
    // and moves only when the view sets it.
    scrollBar->setTracking(false);
    scrollBar->setPageStep(1);
    scrollBar->setFocusPolicy(Qt::NoFocus);
    scrollBar->setContextMenuPolicy(Qt::PreventContextMenu);
    scrollBar->installEventFilter(this);
    connect(scrollBar, &QScrollBar::actionTriggered, this, [this, bar](int action) { BarAction(bar, action); });
    connect(scrollBar, &QScrollBar::sliderMoved, this, [this, bar] {
      if (!FMovingBar) Scroll(bar, nscTrack, Bar(bar)->value());
    });
    connect(scrollBar, &QScrollBar::sliderReleased, this, [this, bar] {
      if (!FMovingBar) Scroll(bar, nscPosition, Bar(bar)->sliderPosition());
    });
  }
  MeasureCharSize();
  ApplyWindowStyle();
}

TScroller::~TScroller() { FCanvas.OnChange = nullptr; }

void TScroller::SetBorderStyle(TBorderMode value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

void TScroller::SetScrollBars(TScrollStyle value) {
  if (value == FScrollBars) return;
  FScrollBars = value;
  RecreateWnd();
}

void TScroller::SetCtl3D(bool value) {
  if (value == FCtl3D) return;
  FCtl3D = value;
  RecreateWnd();
}

void TScroller::SetHMargin(int pixels) {
  FHMargin = pixels;
  FCanvas.SetGrid(FHMargin, FCharSize);
  Repaint();
}

void TScroller::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  Invalidate();
}

void TScroller::SetFont(const TFont& font) {
  FFont = font;
  FCanvas.Font = FFont;
  MeasureCharSize();
  Invalidate();
}

void TScroller::SetTabStop(bool value) {
  FTabStop = value;
  setFocusPolicy(value ? Qt::TabFocus : Qt::NoFocus);
}

int TScroller::HScrollPos() const { return Bar(HorizontalBar)->value(); }
int TScroller::VScrollPos() const { return Bar(VerticalBar)->value(); }

void TScroller::SetHScrollPos(int pos) {
  if (HasBar(HorizontalBar)) SetBarPosition(HorizontalBar, pos);
}

void TScroller::SetVScrollPos(int pos) {
  if (HasBar(VerticalBar)) SetBarPosition(VerticalBar, pos);
}

void TScroller::SetHScrollParams(int min, int max, int pos) {
  if (!HasBar(HorizontalBar)) return;
  FMovingBar = true;
  Bar(HorizontalBar)->setRange(min, max);
  FMovingBar = false;
  SetBarPosition(HorizontalBar, pos);
}

void TScroller::SetVScrollParams(int min, int max, int pos) {
  if (!HasBar(VerticalBar)) return;
  FMovingBar = true;
  Bar(VerticalBar)->setRange(min, max);
  FMovingBar = false;
  SetBarPosition(VerticalBar, pos);
}

int TScroller::GetHScrollMax() const { return Bar(HorizontalBar)->maximum(); }
int TScroller::GetVScrollMax() const { return Bar(VerticalBar)->maximum(); }

void TScroller::MapPixelsToChars(QPoint& point) const {
  // Integer division truncates toward zero: a point less than a cell left of
  // the margin's edge still falls in column 0, further left in negative ones.
  point = QPoint((point.x() - FHMargin) / FCharSize.width(), point.y() / FCharSize.height());
}

void TScroller::MapCharsToPixels(QPoint& point) const {
  point = QPoint(point.x() * FCharSize.width() + FHMargin, point.y() * FCharSize.height());
}

int TScroller::GetNumLines() const {
  int h = height();
  if (HasBar(HorizontalBar)) h -= Bar(HorizontalBar)->sizeHint().height();
  if (FCtl3D) h -= EdgeWidth;
  if (FBorderStyle == bsSingle) h -= BorderWidth;
  return std::max(0, h / FCharSize.height());
}

void TScroller::ComputeAreaSize(const QSize& chars, QSize& pixels) const {
  int cx = chars.width() * FCharSize.width();
  int cy = chars.height() * FCharSize.height();
  if (HasBar(VerticalBar)) cx += Bar(VerticalBar)->sizeHint().width();
  if (HasBar(HorizontalBar)) cy += Bar(HorizontalBar)->sizeHint().height();
  // One edge and one border, plus a pixel: with the client edge on both sides
  // that leaves exactly the characters and the margin inside.
  if (FCtl3D) {
    cx += EdgeWidth;
    cy += EdgeWidth;
  }
  if (FBorderStyle == bsSingle) {
    cx += BorderWidth;
    cy += BorderWidth;
  }
  cx += FHMargin;
  pixels = QSize(cx + 1, cy + 1);
}

void TScroller::Invalidate() {
  FNeedsPaint = true;
  viewport()->update();
}

void TScroller::Update() {
  if (!FNeedsPaint || !FHandleAllocated) return;
  FNeedsPaint = false;
  Paint();
}

void TScroller::HandleNeeded() {
  if (!FHandleAllocated) CreateWnd();
}

void TScroller::IOnLButtonDown(QObject*, int, int) {}
void TScroller::IOnLButtonDblClk(QObject*, int, int) {}
void TScroller::IOnHScroll(QObject*, TNewScrollCode, int&) {}
void TScroller::IOnVScroll(QObject*, TNewScrollCode, int&) {}
void TScroller::IOnSize(QObject*, int, unsigned short, unsigned short) {}
void TScroller::IOnKeyDown(QObject*, unsigned short&, TShiftState) {}
void TScroller::IOnChar(QObject*, unsigned short, int) {}
void TScroller::DrawCursor(TCursorMode) {}

void TScroller::CreateWnd() {
  MeasureCharSize();
  // The window counts as made from here on: laying out its frame and bars
  // already resizes it.
  FHandleAllocated = true;
  ApplyWindowStyle();
  Invalidate();
}

bool TScroller::event(QEvent* event) {
  if (event->type() == QEvent::Polish) HandleNeeded();
  return QAbstractScrollArea::event(event);
}

bool TScroller::eventFilter(QObject* watched, QEvent* event) {
  const TBar bar = watched == Bar(VerticalBar) ? VerticalBar : HorizontalBar;
  if (watched != Bar(bar)) return QAbstractScrollArea::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Wheel:
      Wheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) FBarPressed[bar] = true;
      return false;
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton || !FBarPressed[bar]) return false;
      FBarPressed[bar] = false;
      // The bar finishes first (a released thumb reports its position), then
      // the action ends.
      static_cast<QObject*>(Bar(bar))->event(event);
      Scroll(bar, nscEndScroll, Bar(bar)->value());
      return true;
    default:
      return QAbstractScrollArea::eventFilter(watched, event);
  }
}

void TScroller::paintEvent(QPaintEvent* event) {
  Update();
  QPainter painter(viewport());
  painter.drawImage(event->rect(), FCanvas.Picture(), event->rect());
}

void TScroller::resizeEvent(QResizeEvent*) {
  HandleNeeded();
  const QSize client = viewport()->size();
  FCanvas.SetSize(client, FColor);
  FNeedsPaint = true;
  IOnSize(this, 0, static_cast<unsigned short>(client.width()), static_cast<unsigned short>(client.height()));
}

void TScroller::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  FFocused = true;
  DrawCursor(cmShow);
}

void TScroller::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  // A popup menu opened over the control leaves it the focus.
  if (event->reason() == Qt::PopupFocusReason) return;
  FFocused = false;
  DrawCursor(cmHide);
}

void TScroller::keyPressEvent(QKeyEvent* event) {
  KeyDown(VirtualKeyOf(*event), ShiftStateOf(event->modifiers()));
  // A typed character carries its repeat count, one, as key data.
  for (QChar c : TypedCharacters(*event)) IOnChar(this, c.unicode(), 1);
  event->accept();
}

void TScroller::mousePressEvent(QMouseEvent* event) { MouseDown(event); }

void TScroller::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click is a press too.
  MouseDown(event);
  const bool shiftOrCtrl = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
  if (event->button() != Qt::LeftButton || event->buttons() != Qt::LeftButton || shiftOrCtrl) return;
  QPoint cell = event->position().toPoint();
  MapPixelsToChars(cell);
  IOnLButtonDblClk(this, cell.x(), cell.y());
}

void TScroller::wheelEvent(QWheelEvent* event) {
  // A control without a vertical bar has no arrows to click: it leaves the
  // wheel to its host.
  event->setAccepted(Wheel(event->angleDelta().y()));
}

void TScroller::contextMenuEvent(QContextMenuEvent* event) {
  if (!FPopupMenu) {
    event->ignore();
    return;
  }
  FPopupMenu->popup(event->globalPos());
  event->accept();
}

void TScroller::MeasureCharSize() {
  const QImage scratch(1, 1, QImage::Format_RGB32);
  const QFontMetrics metrics(FFont.Font, &scratch);
  const QString zero = QStringLiteral("0");
  FCharSize = QSize(std::max(1, metrics.horizontalAdvance(zero)), std::max(1, metrics.height()));
  FCanvas.SetGrid(FHMargin, FCharSize);
}

void TScroller::ApplyWindowStyle() {
  setHorizontalScrollBarPolicy(HasBar(HorizontalBar) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(HasBar(VerticalBar) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  if (FBorderStyle == bsNone) {
    setFrameStyle(QFrame::NoFrame);
  } else if (FCtl3D) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
  } else {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(BorderWidth);
    setMidLineWidth(0);
  }
}

void TScroller::RecreateWnd() {
  if (!FHandleAllocated) return;
  FHandleAllocated = false;
  HandleNeeded();
}

bool TScroller::HasBar(TBar bar) const {
  return FScrollBars & (bar == HorizontalBar ? ssHorizontal : ssVertical);
}

QScrollBar* TScroller::Bar(TBar bar) const {
  return bar == HorizontalBar ? horizontalScrollBar() : verticalScrollBar();
}

void TScroller::SetBarPosition(TBar bar, int pos) {
  QScrollBar* scrollBar = Bar(bar);
  if (scrollBar->value() == pos && scrollBar->sliderPosition() == pos) return;
  FMovingBar = true;
  scrollBar->setValue(pos);
  FMovingBar = false;
}

void TScroller::Scroll(TBar bar, TNewScrollCode code, int pos) {
  if (bar == HorizontalBar)
    IOnHScroll(this, code, pos);
  else
    IOnVScroll(this, code, pos);
  // While the thumb is dragged it stays under the mouse unless the view moves the bar.
  if (code == nscTrack && Bar(bar)->value() == pos) return;
  SetBarPosition(bar, pos);
}

void TScroller::BarAction(TBar bar, int action) {
  if (FMovingBar) return;
  const bool vertical = bar == VerticalBar;
  TNewScrollCode code;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: code = vertical ? nscBarLineUp : nscLineUp; break;
    case QAbstractSlider::SliderSingleStepAdd: code = vertical ? nscBarLineDown : nscLineDown; break;
    case QAbstractSlider::SliderPageStepSub: code = nscPageUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = nscPageDown; break;
    case QAbstractSlider::SliderToMinimum: code = nscTop; break;
    case QAbstractSlider::SliderToMaximum: code = nscBottom; break;
    default: return;  // thumb moves arrive through sliderMoved and sliderReleased
  }
  // The bar has already stepped its slider; the view's answer replaces that step.
  Scroll(bar, code, Bar(bar)->value());
}

void TScroller::MouseDown(QMouseEvent* event) {
  if (FFocused) DrawCursor(cmHide);
  if (event->button() == Qt::LeftButton) {
    QPoint cell = event->position().toPoint();
    MapPixelsToChars(cell);
    IOnLButtonDown(this, cell.x(), cell.y());
  }
  if (FFocused) DrawCursor(cmShow);
  setFocus(Qt::MouseFocusReason);
}

void TScroller::KeyDown(unsigned short key, TShiftState shift) {
  const bool ctrl = shift & ssCtrl;
  for (const TKeyScroll& entry : KeyScrolls) {
    if (entry.Key != key) continue;
    const TBar bar = entry.Vertical ? VerticalBar : HorizontalBar;
    Scroll(bar, ctrl ? entry.WithCtrl : entry.Plain, Bar(bar)->value());
    return;
  }
  if (key == VK_DELETE) {
    IOnChar(this, DeleteCharacter, VK_DELETE);
    return;
  }
  IOnKeyDown(this, key, shift);
}

bool TScroller::Wheel(int angleDelta) {
  if (!HasBar(VerticalBar)) return false;
  FWheelRemainder += angleDelta;
  while (FWheelRemainder >= WheelNotch || FWheelRemainder <= -WheelNotch) {
    const bool up = FWheelRemainder > 0;
    FWheelRemainder += up ? -WheelNotch : WheelNotch;
    for (int click = 0; click < ClicksPerNotch; ++click)
      Scroll(VerticalBar, up ? nscBarLineUp : nscBarLineDown, Bar(VerticalBar)->value());
  }
  return true;
}

void TScroller::ThumbTo(int position, int rows, int& top, int& cursor) {
  if (position < top) {
    top = position;
    cursor = 0;
  } else if (position < top + rows) {
    cursor = position - top;
  } else {
    cursor = rows - 1;
    top = position - cursor;
  }
}
