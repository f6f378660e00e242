#pragma once
// The watches of one watch list, in slots 0 to 49 without gaps, and the text
// of each row the list's view shows.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "WatchPoint.h"

inline constexpr int MAX_WATCHES = 50;
inline constexpr std::size_t WATCH_ROW_SIZE = 1024;

class TWatchList {
 public:
  int Count() const;
  // The expression of watch n; empty when there is none.
  std::string Expression(int n) const;
  // A new watch at n, replacing the one there; from the slot after the last
  // watch on it goes right after the last one. With all slots used, a watch
  // that would not replace one is not added.
  void Put(int n, const std::string& expression);
  // Removes watch n and moves the later ones up.
  void Remove(int n);
  // Row r (0 to rows inclusive) shows watch top + r, evaluated now at the
  // program counter; every other row is empty.
  void CreateLines(int top, int rows);
  // Empty outside the rows.
  const std::string& Line(int row) const;

 private:
  bool Has(int n) const { return n >= 0 && n < MAX_WATCHES && Watches[static_cast<std::size_t>(n)]; }

  std::array<std::unique_ptr<TWatchPoint>, MAX_WATCHES> Watches;
  std::array<std::string, MAX_WATCHES> Lines;
};
