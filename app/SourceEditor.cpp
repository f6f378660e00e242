#include "SourceEditor.h"

#include <Qsci/qscilexercpp.h>

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStringDecoder>

#include <algorithm>

#include "FixedFont.h"
#include "RegularFile.h"

namespace {

// Marker and indicator that give the special lines their colours.
constexpr int LineBackgroundMarker = 0;
constexpr int LineForegroundIndicator = 8;

// Scintilla takes a font's size in points only.
QFont EditorFont(int pixelSize) {
  QFont font = FixedFont();
  const QScreen* screen = QGuiApplication::primaryScreen();
  const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
  font.setPointSizeF(pixelSize * 72.0 / dpi);
  return font;
}

}  // namespace

TSourceEditor::TSourceEditor(QWidget* parent) : QsciScintilla(parent) {
  setObjectName(QStringLiteral("txtSource"));
  auto* lexer = new QsciLexerCPP(this);
  lexer->setObjectName(QStringLiteral("SynCppSyn1"));
  lexer->setDefaultFont(EditorFont(13));
  lexer->setFont(EditorFont(13), -1);
  for (int style : {QsciLexerCPP::Comment, QsciLexerCPP::CommentLine, QsciLexerCPP::CommentDoc,
                    QsciLexerCPP::CommentLineDoc, QsciLexerCPP::Number, QsciLexerCPP::DoubleQuotedString,
                    QsciLexerCPP::SingleQuotedString})
    lexer->setColor(ToQColor(clNavy), style);
  setLexer(lexer);

  setUtf8(true);
  setTabWidth(4);
  setEdgeMode(EdgeLine);
  setEdgeColumn(132);
  setScrollWidth(256 * FixedFontCellWidth);
  setScrollWidthTracking(false);
  setCaretLineVisible(false);

  // One blank gutter; the glyphs are drawn on it after the text.
  setMargins(1);
  setMarginType(0, SymbolMarginColor);
  setMarginBackgroundColor(0, ToQColor(clSilver));
  setMarginMarkerMask(0, 0);
  setMarginWidth(0, GutterWidth);
  setMarginsFont(EditorFont(11));

  markerDefine(Background, LineBackgroundMarker);
  indicatorDefine(TextColorIndicator, LineForegroundIndicator);

  SetLines(QStringLiteral("/* No source file available */"));
}

bool TSourceEditor::LoadFromFile(const QString& path) {
  std::string read;
  if (!ReadRegularFile(QFile::encodeName(path).toStdString(), MAX_TEXT_FILE_SIZE, read)) return false;
  const QByteArray bytes = QByteArray::fromStdString(read);
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(bytes);
  if (utf8.hasError()) text = QString::fromLatin1(bytes);
  SetLines(text);
  return true;
}

void TSourceEditor::SetLines(const QString& text) {
  ClearSpecialLines();
  Drawn.clear();
  setReadOnly(false);
  // Scintilla takes the text up to its first NUL: a visible stand-in keeps
  // every line after it.
  setText(QString(text).replace(QChar(0), QChar(0x2400)));
  setReadOnly(true);
}

QString TSourceEditor::LineText(int line) const {
  QString t = text(line - 1);
  while (t.endsWith(QLatin1Char('\n')) || t.endsWith(QLatin1Char('\r'))) t.chop(1);
  return t;
}

void TSourceEditor::CaretToLine(int line) {
  setCursorPosition(line - 1, 0);
  ensureLineVisible(line - 1);
}

int TSourceEditor::CaretLine() const {
  int line = 0;
  int index = 0;
  getCursorPosition(&line, &index);
  return line + 1;
}

void TSourceEditor::InvalidateLine(int line) {
  if (line < 1 || line > LineCount()) return;
  TColor foreground = clWindowText;
  TColor background = clWindow;
  const bool special = OnSpecialLineColors && OnSpecialLineColors(line, foreground, background);
  const int row = line - 1;
  markerDelete(row, LineBackgroundMarker);
  clearIndicatorRange(row, 0, row, lineLength(row), LineForegroundIndicator);
  SpecialLines.erase(line);
  if (special) {
    SpecialLines[line] = {foreground, background};
    setMarkerBackgroundColor(ToQColor(background), LineBackgroundMarker);
    setIndicatorForegroundColor(ToQColor(foreground), LineForegroundIndicator);
    markerAdd(row, LineBackgroundMarker);
    fillIndicatorRange(row, 0, row, lineLength(row), LineForegroundIndicator);
  }
  viewport()->update();
}

void TSourceEditor::InvalidateGutter() { viewport()->update(QRect(0, 0, GutterWidth, viewport()->height())); }

void TSourceEditor::ClearSpecialLines() {
  markerDeleteAll(LineBackgroundMarker);
  if (lines() > 0) clearIndicatorRange(0, 0, lines() - 1, lineLength(lines() - 1), LineForegroundIndicator);
  SpecialLines.clear();
}

bool TSourceEditor::LineColors(int line, TColor& foreground, TColor& background) const {
  auto found = SpecialLines.find(line);
  if (found == SpecialLines.end()) return false;
  std::tie(foreground, background) = found->second;
  return true;
}

void TSourceEditor::DrawGlyph(int line, int x, int y, int glyph) {
  if (!Painter || glyph < 0 || glyph >= static_cast<int>(Images.size())) return;
  Painter->drawPixmap(x, y, Images[static_cast<std::size_t>(glyph)]);
  Drawn[line].push_back({x, glyph});
}

std::vector<TSourceEditor::TDrawnGlyph> TSourceEditor::GlyphsOn(int line) const {
  auto found = Drawn.find(line);
  if (found == Drawn.end()) return {};
  std::vector<TDrawnGlyph> glyphs = found->second;
  std::sort(glyphs.begin(), glyphs.end(), [](const TDrawnGlyph& a, const TDrawnGlyph& b) { return a.X < b.X; });
  return glyphs;
}

void TSourceEditor::paintEvent(QPaintEvent* event) {
  QsciScintilla::paintEvent(event);
  const int height = LineHeight();
  if (!OnAfterPaint || height <= 0) return;
  const int first = TopLine() + std::max(0, event->rect().top()) / height;
  const int last = std::min(LineCount(), TopLine() + std::max(0, event->rect().bottom()) / height);
  for (int n = first; n <= last; ++n) Drawn.erase(n);
  QPainter painter(viewport());
  Painter = &painter;
  OnAfterPaint(first, last);
  Painter = nullptr;
}

void TSourceEditor::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (at.x() >= GutterWidth) {
    QsciScintilla::mousePressEvent(event);
    return;
  }
  const int height = LineHeight();
  const int line = height > 0 ? TopLine() + at.y() / height : 0;
  if (line >= 1 && line <= LineCount() && OnGutterClick) OnGutterClick(line);
  event->accept();
}

void TSourceEditor::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->position().x() >= GutterWidth) QsciScintilla::mouseDoubleClickEvent(event);
}
