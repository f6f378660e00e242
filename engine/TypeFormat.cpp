// Display descriptors of typed values. A type of the loaded program becomes a
// FormatValue descriptor (and, on request, a C-like type text); a member and
// index path of the watch expression selects a part of it.
//
// Types come from a file: a type may name itself and a structure may claim
// any number of members. The descriptor and type text stop growing at the
// lengths the watch can show, which bounds the lookups and members that add
// to the descriptor; nesting, and the lookups and members that add nothing,
// have bounds of their own for the whole description.
#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>

#include "Configuration.h"
#include "Debug.h"
#include "Tgtz80.h"
#include "Utility.h"
#include "WatchState.h"

namespace {

constexpr int MAX_TYPE_DEPTH = 32;
// Lookups and members that leave the descriptor as it was. Far more than a
// type that fits the descriptor's length has (bit fields sharing a byte,
// enumerations, typedef chains), but a self-naming structure of a hundred
// thousand empty members would otherwise be read again at every level.
constexpr unsigned MAX_IDLE_LOOKUPS = 4096;
constexpr unsigned MAX_IDLE_MEMBERS = 4096;
// Elements and members beyond these lengths are not shown.
constexpr std::size_t MAX_FORMAT_LENGTH = 128;
constexpr std::size_t MAX_TYPE_TEXT_LENGTH = 128;
constexpr std::size_t MAX_MEMBER_NAME = 255;

struct TBasicType {
  const char* Item;
  uint8_t Size;
};

// Indexes below 100 are basic types; 18 to 99 have no item.
constexpr TBasicType BasicTypes[18] = {
    {"", 0},    {"%1u", 1}, {"%1c", 1}, {"%2u", 2}, {"%2s", 2}, {"%2u", 2}, {"%2s", 2}, {"%4u", 4}, {"%4s", 4},
    {"%4f", 4}, {"%8d", 8}, {"%8D", 8}, {"", 0},    {"", 0},    {"%2h", 2}, {"%1h", 1}, {"%3h", 3}, {"%4h", 4},
};

// The hexadecimal item of a 1- to 4-byte value; other sizes have none.
void AppendHexItem(TWatchState& w, uint32_t size) {
  if (size < 1 || size > 4) return;
  w.Format += '%';
  w.Format += static_cast<char>('0' + size);
  w.Format += 'h';
  w.AddSize(size);
}

// Whether an aggregate shows another element or member: its descriptor and,
// when one is built, its part of the type text (from textStart) are short enough.
bool HasRoom(const TWatchState& w, const std::string* text, std::size_t textStart) {
  return w.Format.size() < MAX_FORMAT_LENGTH && (!text || text->size() - textStart < MAX_TYPE_TEXT_LENGTH);
}

}  // namespace

struct TDebug::TTypeWalk {
  TWatchState& W;
  std::string_view& Path;
  unsigned IdleLookups = 0;
  unsigned IdleMembers = 0;
};

uint32_t TDebug::MakeTypeFormat(uint16_t index, TWatchState& w, std::string* text, std::string_view& path) {
  CheckTypeChain();
  TTypeWalk walk{w, path};
  return FormatType(index, text, walk, 0);
}

uint32_t TDebug::FormatType(uint16_t index, std::string* text, TTypeWalk& walk, int depth) {
  TWatchState& w = walk.W;
  if (depth > MAX_TYPE_DEPTH) return 0;
  if (index < 100) {
    if (text) *text += index < 15 ? GetTypeName(index) : "";
    if (index >= std::size(BasicTypes)) return 0;
    w.Format += BasicTypes[index].Item;
    w.AddSize(BasicTypes[index].Size);
    return BasicTypes[index].Size;
  }
  // Only a lookup that left the descriptor as it was counts: the others are
  // bounded by the descriptor's length.
  if (walk.IdleLookups >= MAX_IDLE_LOOKUPS) return 0;
  const std::size_t formatBefore = w.Format.size();
  const uint32_t size = FormatRecord(index, text, walk, depth);
  if (w.Format.size() <= formatBefore) ++walk.IdleLookups;
  return size;
}

uint32_t TDebug::FormatRecord(uint16_t index, std::string* text, TTypeWalk& walk, int depth) {
  TWatchState& w = walk.W;
  if (!LookUpType(index)) return 0;

  TByteStream s(TypeBuffer.get() + TypeCursor + 2, TypeBuffer.get() + TYPE_BUFFER_SIZE);
  uint8_t kind = 0;
  s.ReadByte(kind);
  uint8_t b1 = 0, b2 = 0;
  uint16_t word1 = 0, word2 = 0;
  switch (kind) {
    case 15: {  // pointer: target type (which also selects the width), size
      s.ReadWord(word1);
      s.ReadWord(word2);
      if (s.Exhausted()) return 0;
      w.SetTypeClass(TYPE_CLASS_SCALAR);
      if (text) *text += '*';
      w.TargetType = word1;
      AppendHexItem(w, word1 >= 1 && word1 <= 4 ? word1 : TheCpu->AddrMode + 1u);
      return word2;
    }
    case 16:
      return FormatArray(s, text, walk, depth);
    case 17:
      return FormatStructure(s, text, walk, depth);
    case 18:  // union: shown as a word
      w.Format += "%2h";
      w.AddSize(2);
      return 2;
    case 19: {  // bit field
      s.ReadByte(b1);
      s.ReadByte(b2);
      if (s.Exhausted()) return 0;
      w.SetTypeClass(TYPE_CLASS_BIT_FIELD);
      if (text) *text += "bits" + std::to_string(b2) + "-" + std::to_string(b2 + b1 - 1);
      return 0;
    }
    case 20:
      w.SetTypeClass(TYPE_CLASS_PROCEDURE);
      if (text) *text += "Procedure";
      w.Format += "%2h";
      w.AddSize(2);
      return 2;
    case 21:
      s.Skip(1);
      s.ReadWord(word1);
      return s.Exhausted() ? 0 : FormatType(word1, text, walk, depth + 1);
    case 36:
      s.Skip(4);
      s.ReadWord(word1);
      return s.Exhausted() ? 0 : FormatType(word1, text, walk, depth + 1);
    case 42:
    case 43:
    case 53:
      s.ReadWord(word1);
      return s.Exhausted() ? 0 : FormatType(word1, text, walk, depth + 1);
    case 97: {  // pointer in two parts: layout byte, fixed memory type, target type
      s.ReadByte(b1);
      s.ReadByte(b2);
      s.ReadWord(word1);
      if (s.Exhausted()) return 0;
      w.Kind = WATCH_KIND_TWO_PART_POINTER;
      w.PointerCode = b1;
      w.FrameArea = b2;
      w.TargetType = word1;
      const uint32_t size = (b1 & 0x40) ? (b1 >> 3) & 7 : b1 & 7;
      if (text) {
        *text += '*';
        FormatType(word1, text, walk, depth + 1);
      }
      w.SetTypeClass(TYPE_CLASS_SCALAR);
      AppendHexItem(w, size);
      return size;
    }
    default:
      if ((kind >= 23 && kind <= 34) || (kind >= 37 && kind <= 40)) {
        s.ReadWord(word1);
        if (s.Exhausted()) return 0;
        w.SetTypeClass(TYPE_CLASS_SCALAR);
        if (text) TheCpu->GetPointerTypeName(kind, *text);
        w.TargetType = word1;
        w.Format += "%2h";
        w.AddSize(2);
        return 2;
      }
      return 0;  // kind 44 (enumeration) and unknown kinds show nothing
  }
}

// Array: element type, size in bytes, element count (0: as many as the size
// holds). An index path "[n]" selects one element.
uint32_t TDebug::FormatArray(TByteStream& s, std::string* text, TTypeWalk& walk, int depth) {
  TWatchState& w = walk.W;
  uint16_t elementType = 0;
  uint32_t size = 0, count = 0;
  s.ReadWord(elementType);
  s.ReadDword(size);
  s.ReadDword(count);
  if (s.Exhausted()) return 0;

  std::string_view rest = walk.Path;
  while (!rest.empty() && std::isspace(static_cast<unsigned char>(rest.front()))) rest.remove_prefix(1);
  const bool indexed = !rest.empty() && rest.front() == '[';
  uint32_t index = 0;
  if (indexed) {
    const std::size_t close = rest.find(']');
    if (close == std::string_view::npos) {
      w.Format.clear();
      return 0;
    }
    // An index is decimal whatever the user's default radix is.
    const std::string indexText(rest.substr(1, close - 1));
    const char radix = GetDefaultRadix();
    SetDefaultRadix('D');
    const int result = EvalString(indexText.c_str(), index);
    SetDefaultRadix(radix);
    if (result != 0 || index > 255) {
      w.Format.clear();
      return 0;
    }
    walk.Path = rest.substr(close + 1);
  } else {
    w.Format += '[';
  }

  const bool bySize = !indexed && count == 0;
  uint32_t left = indexed ? 1 : count;  // elements, or bytes when bySize
  if (bySize) left = size;
  const std::size_t textStart = text ? text->size() : 0;
  uint32_t elementSize = 0;
  bool first = true;
  while (left > 0 && HasRoom(w, text, textStart)) {
    const std::size_t formatBefore = w.Format.size();
    std::string* elementText = first ? text : nullptr;
    elementSize = FormatType(elementType, elementText, walk, depth + 1);
    // An array without a count reads "[]" even when one element is selected.
    if (elementText) *elementText += count == 0 ? "[]" : "[" + std::to_string(indexed ? 1 : count) + "]";
    first = false;
    // An element that shows nothing or takes no bytes would never use the array up.
    if (w.Format.size() == formatBefore || elementSize == 0) break;
    left = bySize ? (elementSize >= left ? 0 : left - elementSize) : left - 1;
  }
  if (!indexed) w.Format += ']';
  w.Offset += index * elementSize;
  w.SetTypeClass(TYPE_CLASS_ARRAY);
  return size;
}

// Structure: name, size in bytes, member count, members {offset, name, type}.
// A member path ".name" selects one member.
uint32_t TDebug::FormatStructure(TByteStream& s, std::string* text, TTypeWalk& walk, int depth) {
  TWatchState& w = walk.W;
  uint8_t nameLength = 0;
  uint32_t size = 0, members = 0;
  s.ReadByte(nameLength);
  s.Skip(nameLength);
  s.ReadDword(size);
  s.ReadDword(members);
  if (s.Exhausted()) return 0;

  const bool selected = !walk.Path.empty() && walk.Path.front() == '.';
  std::string_view wanted;
  if (selected) {
    const std::size_t end = std::min(walk.Path.find_first_of(".[,", 1), walk.Path.size());
    wanted = walk.Path.substr(1, std::min(end - 1, MAX_MEMBER_NAME));
    walk.Path.remove_prefix(end);
  } else {
    w.Format += '{';
  }
  const std::size_t textStart = text ? text->size() : 0;
  if (text) *text += "struct {";

  bool shownOne = false;
  for (uint32_t i = 0; i < members && HasRoom(w, text, textStart) && walk.IdleMembers < MAX_IDLE_MEMBERS; ++i) {
    const std::size_t formatBefore = w.Format.size();
    uint32_t offset = 0;
    uint8_t length = 0;
    uint16_t type = 0;
    s.ReadDword(offset);
    s.ReadByte(length);
    const char* name = reinterpret_cast<const char*>(s.GetPos());
    s.Skip(length);
    s.ReadWord(type);
    if (s.Exhausted()) break;
    if (!selected || std::string_view(name, length) == wanted) {
      if (text && shownOne) *text += ',';
      if (selected) w.Offset += offset;
      const uint32_t memberSize = FormatType(type, text, walk, depth + 1);
      shownOne = true;
      // A gap before the next member is skipped by one byte, whatever its length.
      if (i + 1 < members) {
        const uint32_t next = s.PeekDword();
        if (!s.Exhausted() && uint64_t{next} > uint64_t{offset} + memberSize) {
          w.Format += "%1?";
          w.AddSize(1);
        }
      }
    }
    if (w.Format.size() <= formatBefore) ++walk.IdleMembers;
  }
  if (!selected) {
    w.Format += '}';
    if (text) *text += '}';
  }
  w.SetTypeClass(TYPE_CLASS_STRUCTURE);
  return size;
}
