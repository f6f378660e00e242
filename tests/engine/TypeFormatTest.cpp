#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "Debug.h"
#include "DebugTableBuilder.h"
#include "Utility.h"
#include "WatchState.h"

namespace {

// Type indexes of the records the tests write.
enum : uint16_t {
  T_PAIR = 100,        // struct {int a @0; char b @2}, size 3
  T_GAPPED = 101,      // struct {int a @0; char b @3}, size 4
  T_CHARS = 102,       // char[10]
  T_PAIRS = 103,       // struct pair[3]
  T_OUTER = 104,       // struct {char c @0; struct pair in @1}, size 4
  T_INTS = 105,        // int[] of 6 bytes, no count
  T_PTR = 106,         // pointer record: target 2 (also the width), size 2
  T_PTR_WIDE = 107,    // pointer record: target 200, size 4
  T_TYPEDEF = 108,     // typedef of T_PAIR
  T_DATA_PTR = 109,    // kind 23 pointer to char
  T_FAR_PTR = 110,     // two-part pointer to int, address part first, sizes 3 and 1
  T_BITS = 111,        // bit field, 3 bits from bit 2
  T_PROC = 112,        // procedure
  T_UNION = 113,       // union
  T_ENUM = 114,        // enumeration
  T_CONST = 115,       // qualifier of int
  T_LOOP = 116,        // typedef of itself
  T_SELF = 117,        // struct {struct self s @0}
  T_VOIDS = 118,       // void[] of 8 bytes, no count
  T_DOUBLES = 119,     // double[40]
  T_LONG_CHARS = 120,  // char[200]
  T_UNKNOWN = 121,     // a kind no reader writes
  T_SHORT_PTR = 122,   // two-part pointer, memory type first, sizes 1 and 2, fixed memory type 5
  T_CHARS0 = 123,      // char[0] of 0 bytes
  T_LIST = 124,        // struct {int v @0; struct list* next @2}, size 4
  T_LIST_PTR = 125,    // pointer to T_LIST (width from the target's address mode)
  T_REGS = 126,        // struct {20 one-bit fields @0; int x @4}[30]
  T_REG = 127,
  T_CHAINS = 128,      // array of 40 of T_CHAIN, a chain of seven typedefs of char
  T_ENUMS = 129,       // struct {255 enumerations @0; const int @0}
  T_CHAIN = 130,       // to 136
  T_BIT = 140,         // bit fields of one bit, to 159
};

class TypeFormat : public TDebugFixtureBase, public ::testing::Test {
 protected:
  TypeFormat() {
    TTypeWriter t(debug.Tables().Types);
    t.Structure(T_PAIR, 3, {{0, "a", 6}, {2, "b", 2}});
    t.Structure(T_GAPPED, 4, {{0, "a", 6}, {3, "b", 2}});
    t.Array(T_CHARS, 2, 10, 10);
    t.Array(T_PAIRS, T_PAIR, 9, 3);
    t.Structure(T_OUTER, 4, {{0, "c", 2}, {1, "in", T_PAIR}});
    t.Array(T_INTS, 6, 6, 0);
    t.Record(T_PTR, 15).Word(2).Word(2);
    t.Record(T_PTR_WIDE, 15).Word(200).Word(4);
    t.Record(T_TYPEDEF, 21).Byte(0).Word(T_PAIR);
    t.Record(T_DATA_PTR, 23).Word(2);
    t.Record(T_FAR_PTR, 97).Byte(0x40 | (3 << 3) | 1).Byte(0).Word(6);
    t.Record(T_BITS, 19).Byte(3).Byte(2).Word(0);
    t.Record(T_PROC, 20).Word(6).Byte(0).Byte(1).Word(4);
    t.Record(T_UNION, 18).Dword(2).Dword(2).Name("i").Word(6).Name("c").Word(2);
    t.Record(T_ENUM, 44).Word(0).Name("e").Dword(2).Name("A").Dword(0).Name("B").Dword(1);
    t.Record(T_CONST, 42).Word(6);
    t.Record(T_LOOP, 21).Byte(0).Word(T_LOOP);
    t.Structure(T_SELF, 2, {{0, "s", T_SELF}});
    t.Array(T_VOIDS, 12, 8, 0);
    t.Array(T_DOUBLES, 10, 320, 40);
    t.Array(T_LONG_CHARS, 2, 200, 200);
    t.Record(T_SHORT_PTR, 97).Byte((1 << 3) | 2).Byte(5).Word(2);
    t.Array(T_CHARS0, 2, 0, 0);
    t.Structure(T_LIST, 4, {{0, "v", 6}, {2, "next", T_LIST_PTR}});
    t.Record(T_LIST_PTR, 15).Word(T_LIST).Word(2);
    t.Record(T_UNKNOWN, 99);  // carries no data, as far as a lookup knows
    std::vector<std::tuple<uint32_t, std::string, uint16_t>> bits, enums(255, {0, "e", T_ENUM});
    for (uint16_t n = 0; n < 20; ++n) {
      t.Record(T_BIT + n, 19).Byte(1).Byte(static_cast<uint8_t>(n)).Word(0);
      bits.emplace_back(0, "b" + std::to_string(n), T_BIT + n);
    }
    bits.emplace_back(4, "x", 6);
    t.Structure(T_REG, 6, bits);
    t.Array(T_REGS, T_REG, 180, 30);
    for (uint16_t n = 0; n < 7; ++n) t.Record(T_CHAIN + n, 21).Byte(0).Word(n < 6 ? T_CHAIN + n + 1 : 2);
    t.Array(T_CHAINS, T_CHAIN, 40, 40);
    enums.emplace_back(0, "i", T_CONST);
    t.Structure(T_ENUMS, 2, enums);
  }

  // The descriptor, size and type text of a type with a path.
  struct Result {
    uint32_t size;
    std::string format;
    std::string text;
    std::string_view rest;
  };
  Result Make(uint16_t type, std::string_view path = {}) {
    Result r;
    r.rest = path;
    r.size = debug.MakeTypeFormat(type, w, &r.text, r.rest);
    r.format = w.Format;
    return r;
  }

  TDebug debug;
  TWatchState w;
};

TEST_F(TypeFormat, BasicTypes) {
  struct Case {
    uint16_t type;
    const char* format;
    uint32_t size;
    const char* text;
  } cases[] = {{0, "", 0, "undefined"}, {1, "%1u", 1, "uchar"}, {2, "%1c", 1, "char"},   {3, "%2u", 2, "ushort"},
               {4, "%2s", 2, "short"},  {5, "%2u", 2, "uint"},  {6, "%2s", 2, "int"},    {7, "%4u", 4, "ulong"},
               {8, "%4s", 4, "long"},   {9, "%4f", 4, "float"}, {10, "%8d", 8, "double"}, {11, "%8D", 8, "long double"},
               {12, "", 0, "void"},     {13, "", 0, "..."},     {14, "%2h", 2, "address"}, {15, "%1h", 1, ""},
               {16, "%3h", 3, ""},      {17, "%4h", 4, ""},     {18, "", 0, ""},          {99, "", 0, ""}};
  for (const Case& c : cases) {
    w = TWatchState{};
    const Result r = Make(c.type);
    EXPECT_EQ(r.format, c.format) << c.type;
    EXPECT_EQ(r.size, c.size) << c.type;
    EXPECT_EQ(w.Size, c.size) << c.type;
    EXPECT_EQ(r.text, c.text) << c.type;
  }
}

TEST_F(TypeFormat, Structures) {
  struct Case {
    uint16_t type;
    const char* format;
    uint32_t size;  // the record's
    uint8_t bytes;  // w.Size: what the descriptor consumes
    const char* text;
  } cases[] = {
      {T_PAIR, "{%2s%1c}", 3, 3, "struct {int,char}"},
      {T_GAPPED, "{%2s%1?%1c}", 4, 4, "struct {int,char}"},
      {T_OUTER, "{%1c{%2s%1c}}", 4, 4, "struct {char,struct {int,char}}"},
      {T_TYPEDEF, "{%2s%1c}", 3, 3, "struct {int,char}"},
      {T_PAIRS, "[{%2s%1c}{%2s%1c}{%2s%1c}]", 9, 9, "struct {int,char}[3]"},
      {T_LIST, "{%2s%2h}", 4, 4, "struct {int,*}"},
  };
  for (const Case& c : cases) {
    w = TWatchState{};
    const Result r = Make(c.type);
    EXPECT_EQ(r.format, c.format) << c.type;
    EXPECT_EQ(r.size, c.size) << c.type;
    EXPECT_EQ(w.Size, c.bytes) << c.type;
    EXPECT_EQ(r.text, c.text) << c.type;
    EXPECT_EQ(w.Offset, 0u);
  }
  EXPECT_EQ(w.TypeClass(), TYPE_CLASS_STRUCTURE);
}

TEST_F(TypeFormat, Arrays) {
  struct Case {
    uint16_t type;
    std::string format;
    uint32_t size;
    uint8_t bytes;
    const char* text;
  } cases[] = {
      {T_CHARS, "[" + std::string(30, ' ') + "]", 10, 10, "char[10]"},
      {T_INTS, "[%2s%2s%2s]", 6, 6, "int[]"},
      {T_VOIDS, "[]", 8, 0, "void[]"},
      {T_CHARS0, "[]", 0, 0, ""},  // no element, so no type text
      {T_DOUBLES, "[" + std::string(120, ' ') + "]", 320, 255, "double[40]"},
  };
  cases[0].format.replace(1, 30, std::string("%1c%1c%1c%1c%1c%1c%1c%1c%1c%1c"));
  std::string doubles;
  for (int i = 0; i < 40; ++i) doubles += "%8d";
  cases[4].format.replace(1, 120, doubles);
  for (const Case& c : cases) {
    w = TWatchState{};
    const Result r = Make(c.type);
    EXPECT_EQ(r.format, c.format) << c.type;
    EXPECT_EQ(r.size, c.size) << c.type;
    EXPECT_EQ(w.Size, c.bytes) << c.type;
    EXPECT_EQ(r.text, c.text) << c.type;
    EXPECT_EQ(w.TypeClass(), TYPE_CLASS_ARRAY);
  }
}

TEST_F(TypeFormat, LongArraysStopAtTheDescriptorLimit) {
  const Result r = Make(T_LONG_CHARS);
  EXPECT_EQ(r.format.size(), 1 + 43 * 3 + 1u);  // elements until 128 characters, then "]"
  EXPECT_EQ(r.format.back(), ']');
  EXPECT_EQ(r.size, 200u);
  EXPECT_EQ(r.text, "char[200]");
}

// Members and elements that take many record lookups each, most of which add
// no item: what fits the descriptor's length is shown.
TEST_F(TypeFormat, ManyLookupsShowWhatFits) {
  const auto repeat = [](std::string_view item, int n) {
    std::string items;
    while (n-- > 0) items += item;
    return items;
  };
  const struct {
    uint16_t type;
    std::string format;
  } cases[] = {
      {T_REGS, "[" + repeat("{%1?%2s}", 16) + "]"},
      {T_CHAINS, "[" + repeat("%1c", 40) + "]"},
      {T_ENUMS, "{%2s}"},
  };
  for (const auto& c : cases) {
    w = TWatchState{};
    std::string_view path;
    debug.MakeTypeFormat(c.type, w, nullptr, path);
    EXPECT_EQ(w.Format, c.format) << c.type;
  }
}

TEST_F(TypeFormat, Paths) {
  struct Case {
    uint16_t type;
    const char* path;
    const char* format;
    uint32_t offset;
    const char* text;
    const char* rest;
  } cases[] = {
      {T_CHARS, "[3]", "%1c", 3, "char[1]", ""},
      {T_CHARS, " [9],x", "%1c", 9, "char[1]", ",x"},
      {T_INTS, "[2]", "%2s", 4, "int[]", ""},  // no count: the text keeps its empty brackets
      {T_PAIR, ".b", "%1c", 2, "struct {char", ""},
      {T_PAIR, ".a,x", "%2s", 0, "struct {int", ",x"},
      {T_PAIR, ".z", "", 0, "struct {", ""},
      {T_PAIRS, "[2].b", "%1c", 2 * 3 + 2, "struct {char[1]", ""},
      {T_OUTER, ".in.b", "%1c", 1 + 2, "struct {struct {char", ""},
      {T_OUTER, ".in", "{%2s%1c}", 1, "struct {struct {int,char}", ""},
      {T_TYPEDEF, ".b", "%1c", 2, "struct {char", ""},
      {T_GAPPED, ".a", "%2s%1?", 0, "struct {int", ""},
  };
  for (const Case& c : cases) {
    w = TWatchState{};
    const Result r = Make(c.type, c.path);
    EXPECT_EQ(r.format, c.format) << c.path;
    EXPECT_EQ(w.Offset, c.offset) << c.path;
    EXPECT_EQ(r.text, c.text) << c.path;
    EXPECT_EQ(r.rest, c.rest) << c.path;
  }
}

TEST_F(TypeFormat, BadIndexesClearTheDescriptor) {
  for (const char* path : {"[3", "[300]", "[x]", "[]", "[-1]"}) {
    w = TWatchState{};
    w.Format = "%2s";
    const Result r = Make(T_CHARS, path);
    EXPECT_EQ(r.size, 0u) << path;
    EXPECT_EQ(w.Format, "") << path;
  }
  w = TWatchState{};
  EXPECT_EQ(Make(T_CHARS, "[255]").format, "%1c");
  EXPECT_EQ(w.Offset, 255u);
}

TEST_F(TypeFormat, IndexesAreDecimalWhateverTheRadix) {
  SetDefaultRadix('H');
  Make(T_CHARS, "[10]");
  EXPECT_EQ(w.Offset, 10u);
  EXPECT_EQ(GetDefaultRadix(), 'H');
  SetDefaultRadix('D');
}

TEST_F(TypeFormat, Pointers) {
  struct Case {
    uint16_t type;
    uint8_t addrMode;
    const char* format;
    uint32_t size;
    uint16_t target;
    const char* text;
  } cases[] = {
      {T_PTR, 1, "%2h", 2, 2, "*"},
      {T_PTR_WIDE, 1, "%2h", 4, 200, "*"},  // width by the address mode
      {T_PTR_WIDE, 3, "%4h", 4, 200, "*"},
      {T_PTR_WIDE, 0, "%1h", 4, 200, "*"},
      {T_PTR_WIDE, 7, "", 4, 200, "*"},
      {T_DATA_PTR, 1, "%2h", 2, 2, "DATA Pointer 16 bits "},
  };
  for (const Case& c : cases) {
    w = TWatchState{};
    cpu.AddrMode = c.addrMode;
    const Result r = Make(c.type);
    EXPECT_EQ(r.format, c.format) << c.type;
    EXPECT_EQ(r.size, c.size) << c.type;
    EXPECT_EQ(w.TargetType, c.target) << c.type;
    EXPECT_EQ(r.text, c.text) << c.type;
    EXPECT_EQ(w.TypeClass(), TYPE_CLASS_SCALAR) << c.type;
  }
}

TEST_F(TypeFormat, TwoPartPointers) {
  Result r = Make(T_FAR_PTR);
  EXPECT_EQ(w.Kind, WATCH_KIND_TWO_PART_POINTER);
  EXPECT_EQ(w.PointerCode, 0x59);
  EXPECT_EQ(w.FrameArea, 0);
  EXPECT_EQ(w.TargetType, 6);
  EXPECT_EQ(r.size, 3u);
  EXPECT_EQ(r.text, "*int");
  EXPECT_EQ(r.format, "%2s%3h");  // the target's item comes along with the type text
  EXPECT_EQ(w.TypeClass(), TYPE_CLASS_SCALAR);

  w = TWatchState{};
  std::string_view path;
  EXPECT_EQ(debug.MakeTypeFormat(T_SHORT_PTR, w, nullptr, path), 2u);
  EXPECT_EQ(w.Format, "%2h");
  EXPECT_EQ(w.FrameArea, 5);
}

TEST_F(TypeFormat, OtherKinds) {
  struct Case {
    uint16_t type;
    const char* format;
    uint32_t size;
    const char* text;
    uint16_t typeClass;
  } cases[] = {
      {T_BITS, "", 0, "bits2-4", TYPE_CLASS_BIT_FIELD}, {T_PROC, "%2h", 2, "Procedure", TYPE_CLASS_PROCEDURE},
      {T_UNION, "%2h", 2, "", 0x7FF},                   {T_ENUM, "", 0, "", 0x7FF},
      {T_CONST, "%2s", 2, "int", 0x7FF},                {T_UNKNOWN, "", 0, "", 0x7FF},
      {999, "", 0, "", 0x7FF},  // no such record
  };
  for (const Case& c : cases) {
    w = TWatchState{};
    w.Flags = WATCH_DEREFERENCE | 0x7FF;
    const Result r = Make(c.type);
    EXPECT_EQ(r.format, c.format) << c.type;
    EXPECT_EQ(r.size, c.size) << c.type;
    EXPECT_EQ(r.text, c.text) << c.type;
    EXPECT_EQ(w.TypeClass(), c.typeClass) << c.type;
    EXPECT_EQ(w.Flags & 0xF000, WATCH_DEREFERENCE) << c.type;
  }
}

TEST_F(TypeFormat, TypesThatNameThemselvesEnd) {
  Result r = Make(T_LOOP);
  EXPECT_EQ(r.size, 0u);
  EXPECT_EQ(r.format, "");

  w = TWatchState{};
  r = Make(T_SELF);
  EXPECT_EQ(r.format, std::string(33, '{') + std::string(33, '}'));
  EXPECT_EQ(r.size, 2u);
}

// A record whose counts run past the buffer: lookups and descriptors stop at
// its end. Whatever the buffer holds, a description is quick and short.
class MalformedTypes : public TDebugFixtureBase, public ::testing::Test {
 protected:
  TDebug debug;
  TWatchState w;
  uint8_t* buffer = debug.Tables().Types;
};

TEST_F(MalformedTypes, RecordsRunningPastTheEnd) {
  struct Case {
    const char* what;
    void (*fill)(uint8_t*);
  } cases[] = {
      {"structure with four billion members",
       [](uint8_t* b) { TTypeWriter(b).Record(100, 17).Name("s").Dword(4).Dword(0xFFFFFFFF).Dword(0).Name("m").Word(6); }},
      {"union with four billion members",
       [](uint8_t* b) { TTypeWriter(b).Record(100, 18).Dword(4).Dword(0xFFFFFFFF).Name("m").Word(6); }},
      {"enumeration with four billion constants",
       [](uint8_t* b) { TTypeWriter(b).Record(100, 44).Word(0).Name("e").Dword(0xFFFFFFFF).Name("A").Dword(1); }},
      {"records filling the buffer without an end",
       [](uint8_t* b) {
         for (std::size_t p = 0; p + 5 <= TYPE_BUFFER_SIZE; p += 5) {
           b[p] = 100;
           b[p + 1] = 0;
           b[p + 2] = 42;
           b[p + 3] = 6;
           b[p + 4] = 0;
         }
         std::fill(b + TYPE_BUFFER_SIZE - TYPE_BUFFER_SIZE % 5, b + TYPE_BUFFER_SIZE, 0x55);
       }},
      {"structure of 1.7 billion members, the first itself, then empty ones",
       [](uint8_t* b) {
         const uint8_t record[] = {100, 0, 17, 0, 3, 0, 0x1c, 0, 0x17, 0x22, 0, 0x64, 0x29, 0x61, 0x61, 2, 0, 100};
         std::memcpy(b, record, sizeof record);
       }},
      {"members of missing types before a megabyte of the smallest records",
       [](uint8_t* b) {
         TTypeWriter t(b);
         t.Structure(100, 2, std::vector<std::tuple<uint32_t, std::string, uint16_t>>(300, {0, "m", 200}));
         while (t.pos + 3 <= TYPE_BUFFER_SIZE) t.Record(101, 50);
       }},
  };
  for (const Case& c : cases) {
    std::memset(buffer, 0, TYPE_BUFFER_SIZE);
    c.fill(buffer);
    EXPECT_EQ(debug.FindType(200), 0) << c.what;
    // The watch describes a type once per row and refresh.
    std::string text;
    for (std::string* typeText : {&text, static_cast<std::string*>(nullptr)}) {
      w = TWatchState{};
      std::string_view path;
      const auto start = std::chrono::steady_clock::now();
      debug.MakeTypeFormat(100, w, typeText, path);
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50)) << c.what;
      EXPECT_LE(text.size(), 4096u) << c.what;
      EXPECT_LE(w.Format.size(), 200u) << c.what;
    }
  }
}

// Members and lookups that add nothing to the descriptor are bounded, each
// to 4,096: a description goes on to the int behind fewer of them.
TEST_F(MalformedTypes, DescriptionsBoundTheWorkThatAddsNothing) {
  const struct {
    int members;
    uint16_t type;  // of each member before the int
    const char* format;
  } cases[] = {
      {4095, 0, "{%2s}"},    {4096, 0, "{}"},     // no lookup, no item
      {4095, 101, "{%2s}"},  {4096, 101, "{}"},   // an enumeration: one lookup each
      {2047, 103, "{%2s}"},  {2048, 103, "{}"},   // its typedef: two lookups each
  };
  for (const auto& c : cases) {
    std::vector<std::tuple<uint32_t, std::string, uint16_t>> members(c.members, {0, "e", c.type});
    members.emplace_back(0, "i", 102);
    TTypeWriter t(buffer);
    t.Structure(100, 2, members);
    t.Record(101, 44).Word(0).Name("e").Dword(0);
    t.Record(102, 42).Word(6);
    t.Record(103, 21).Byte(0).Word(101);
    w = TWatchState{};
    std::string_view path;
    debug.MakeTypeFormat(100, w, nullptr, path);
    EXPECT_EQ(w.Format, c.format) << c.members << " of " << c.type;
  }
}

// Lookups keep what they met along the buffer, which may be written through
// the tables' pointer at any time.
TEST_F(MalformedTypes, LookupsFollowWritesToTheBuffer) {
  struct Case {
    const char* what;
    void (*change)(uint8_t*);
    uint16_t type;
    const char* format;
  } cases[] = {
      {"an index rewritten", [](uint8_t* b) { b[0] = 101; }, 101, "%2s"},
      {"a record over the end marker", [](uint8_t* b) { TTypeWriter(b + 10).Record(102, 42).Word(8); }, 102, "%4s"},
      {"the end marker written first", [](uint8_t* b) { b[0] = 0; }, 100, ""},
  };
  for (const Case& c : cases) {
    TTypeWriter t(buffer);
    t.Record(100, 42).Word(6);
    t.Record(101, 42).Word(2);
    EXPECT_EQ(debug.FindType(102), 0);  // a scan to the end marker
    c.change(buffer);
    w = TWatchState{};
    std::string_view path;
    debug.MakeTypeFormat(c.type, w, nullptr, path);
    EXPECT_EQ(w.Format, c.format) << c.what;
  }
}

TEST_F(MalformedTypes, KindsAreSkippedByTheirLength) {
  TTypeWriter t(buffer);
  t.Record(200, 15).Word(1).Word(2);
  t.Array(201, 2, 4, 4);
  t.Record(202, 17).Name("s").Dword(3).Dword(2).Dword(0).Name("a").Word(6).Dword(2).Name("b").Word(2);
  t.Record(203, 18).Dword(2).Dword(1).Name("i").Word(6);
  t.Record(204, 19).Byte(1).Byte(0).Word(0);
  t.Record(205, 20).Word(6).Byte(0).Byte(2).Dword(0);
  t.Record(206, 21).Byte(0).Word(6);
  for (uint8_t kind = 23; kind <= 34; ++kind) t.Record(300 + kind, kind).Word(2);
  t.Record(207, 36).Dword(0).Word(6);
  for (uint8_t kind = 37; kind <= 40; ++kind) t.Record(300 + kind, kind).Word(2);
  t.Record(208, 42).Word(6);
  t.Record(209, 43).Word(6);
  t.Record(210, 44).Word(0).Name("e").Dword(1).Name("A").Dword(7);
  t.Record(211, 49).Word(6);
  t.Record(212, 53).Word(6);
  t.Record(214, 97).Byte(2).Byte(0).Word(6);
  t.Record(215, 50);  // unknown kinds carry no data
  const std::size_t last = t.pos;
  t.Record(213, 6);
  EXPECT_EQ(debug.FindType(213), 1);
  w = TWatchState{};
  std::string_view path;
  debug.MakeTypeFormat(213, w, nullptr, path);
  EXPECT_EQ(w.Format, "");  // kind 6 shows nothing
  EXPECT_EQ(buffer[last], 213);
  for (uint16_t index : {200, 205, 211, 212, 214, 215, 333, 340}) EXPECT_EQ(debug.FindType(index), 1) << index;
  EXPECT_EQ(debug.FindType(216), 0);
}

}  // namespace
