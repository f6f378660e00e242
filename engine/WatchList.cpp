#include "WatchList.h"

#include <algorithm>

#include "Configuration.h"
#include "Tgtz80.h"

int TWatchList::Count() const {
  return static_cast<int>(std::find(Watches.begin(), Watches.end(), nullptr) - Watches.begin());
}

std::string TWatchList::Expression(int n) const {
  return Has(n) ? Watches[static_cast<std::size_t>(n)]->Expression : std::string();
}

void TWatchList::Put(int n, const std::string& expression) {
  const int slot = Has(n) ? n : Count();
  if (slot >= MAX_WATCHES || n < 0) return;
  Watches[static_cast<std::size_t>(slot)] = std::make_unique<TWatchPoint>(expression);
}

void TWatchList::Remove(int n) {
  if (!Has(n)) return;
  std::move(Watches.begin() + n + 1, Watches.end(), Watches.begin() + n);
  Watches.back().reset();
}

void TWatchList::CreateLines(int top, int rows) {
  const uint32_t pc = TheCpu->CurrentBankAddress(0, TheCpu->GetPC());
  bool shown = true;
  for (int r = 0; r < MAX_WATCHES; ++r) {
    std::string& line = Lines[static_cast<std::size_t>(r)];
    shown = shown && r <= rows && Has(top + r);
    if (!shown) {
      line.clear();
      continue;
    }
    line.assign(WATCH_ROW_SIZE, ' ');
    Watches[static_cast<std::size_t>(top + r)]->Evaluate(pc, line.data(), 1, WATCH_ROW_SIZE);
    line.resize(WATCH_ROW_SIZE - 1);
  }
}

const std::string& TWatchList::Line(int row) const {
  static const std::string empty;
  return row >= 0 && row < MAX_WATCHES ? Lines[static_cast<std::size_t>(row)] : empty;
}
