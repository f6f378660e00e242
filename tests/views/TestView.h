#pragma once
// A small view over TScroller that records every hook call, paints a list of
// lines and draws its cursor as the views do: the whole cursor line on the
// highlight colour.
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

#include "Scroller.h"

struct THookCall {
  std::string Hook;
  int A = 0;
  int B = 0;
  bool operator==(const THookCall&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const THookCall& call) {
  return out << call.Hook << "(" << call.A << ", " << call.B << ")";
}

class TTestView : public TScroller {
 public:
  using TScroller::TScroller;

  std::vector<THookCall> Calls;
  // Moves the position a scroll hook hands back; unchanged when empty.
  std::function<void(TNewScrollCode code, int& pos)> ScrollAnswer;
  QStringList Lines;
  int CursorRow = 0;
  int Paints = 0;
  int Creations = 0;

  bool Focused() const { return FFocused; }

 protected:
  void IOnLButtonDown(QObject*, int col, int row) override { Calls.push_back({"LButtonDown", col, row}); }
  void IOnLButtonDblClk(QObject*, int col, int row) override { Calls.push_back({"LButtonDblClk", col, row}); }
  void IOnHScroll(QObject*, TNewScrollCode code, int& pos) override {
    Calls.push_back({"HScroll", code, pos});
    if (ScrollAnswer) ScrollAnswer(code, pos);
  }
  void IOnVScroll(QObject*, TNewScrollCode code, int& pos) override {
    Calls.push_back({"VScroll", code, pos});
    if (ScrollAnswer) ScrollAnswer(code, pos);
  }
  void IOnSize(QObject*, int, unsigned short width, unsigned short height) override {
    Calls.push_back({"Size", width, height});
  }
  void IOnKeyDown(QObject*, unsigned short& key, TShiftState shift) override { Calls.push_back({"KeyDown", key, shift}); }
  void IOnChar(QObject*, unsigned short c, int keyData) override { Calls.push_back({"Char", c, keyData}); }

  void DrawCursor(TCursorMode mode) override {
    TCanvas* canvas = Canvas();
    canvas->Font = Font();
    canvas->Brush = {mode == cmShow ? clHighlight : Color(), TBrushStyle::Solid};
    const int y = CursorRow * GetLineHeight();
    canvas->FillRect(QRect(HMargin(), y, width(), GetLineHeight()));
    if (CursorRow < Lines.size()) canvas->TextOut(HMargin(), y, Lines[CursorRow]);
  }

  void Paint() override {
    ++Paints;
    TCanvas* canvas = Canvas();
    canvas->Font = Font();
    canvas->Brush = {Color(), TBrushStyle::Solid};
    canvas->FillRect(QRect(QPoint(0, 0), canvas->Size()));
    for (int i = 0; i < Lines.size(); ++i) canvas->TextOut(HMargin(), i * GetLineHeight(), Lines[i]);
    if (FFocused) DrawCursor(cmShow);
  }

  void CreateWnd() override {
    TScroller::CreateWnd();
    ++Creations;
  }
};
