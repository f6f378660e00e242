#include "Configuration.h"
#include "Protocol.h"
#include "Utility.h"

namespace {
constexpr size_t TEXT_ROOM = sizeof(TAreaDescriptor::Name);

// Copies the text at p, without '~' and cut to fit out, up to its NUL (or up
// to a '|' when stopAtBar); p is left on that terminator. False when the text
// runs to end.
bool CopyText(const uint8_t*& p, const uint8_t* end, char (&out)[TEXT_ROOM], bool stopAtBar) {
  size_t n = 0;
  for (; p < end && *p != 0 && !(stopAtBar && *p == '|'); ++p) {
    if (*p != '~' && n < TEXT_ROOM - 1) out[n++] = static_cast<char>(*p);
  }
  out[n] = '\0';
  return p < end;
}

const uint8_t* SkipText(const uint8_t* p, const uint8_t* end) {
  while (p < end && *p != 0) ++p;
  return p < end ? p + 1 : nullptr;
}
}  // namespace

const uint8_t* SplitAreaDescriptor(const uint8_t* entry, const uint8_t* end, uint8_t flag, TAreaDescriptor& out) {
  const uint8_t* p = entry;
  if (!CopyText(p, end, out.Name, true)) return nullptr;
  if (*p == '|') {
    ++p;
    // Without flag 1 the part after '|' is read as the next text.
    if (flag == 1 && !(p = SkipText(p, end))) return nullptr;
  } else {
    ++p;
  }
  if (!CopyText(p, end, out.Text2, false)) return nullptr;
  ++p;
  if (!CopyText(p, end, out.Text3, false)) return nullptr;
  ++p;
  if (end - p < 2) return nullptr;
  out.ValueByte = p[0];
  const unsigned shift = p[1] % 32u;
  out.BitMask = shift < 8 ? static_cast<uint8_t>(1u << shift) : 0;
  return p + 2;
}

int GetAreaDescriptor(uint8_t index, uint8_t flag, TAreaDescriptor& out) {
  TCapabilities* capabilities = nullptr;
  TheProtocol->GetCapabilities(capabilities);
  if (!capabilities) return 0;
  const uint8_t* const data = capabilities->Data;
  const uint8_t* const end = data + sizeof(capabilities->Data);
  // The offset is the target's word: a table that does not fit is no table.
  if (capabilities->AreasOffset > sizeof(capabilities->Data) - 2) return 0;
  const uint8_t* p = data + capabilities->AreasOffset;
  out.AddressBits = p[0];
  out.HeaderByte = p[1];
  p += 2;
  for (; index != 0; --index) {
    if (p >= end || *p == 0) return 0;
    p = SkipText(p, end);
    if (p) p = SkipText(p, end);
    if (p) p = SkipText(p, end);
    if (!p || end - p < 2) return 0;
    p += 2;
  }
  if (p >= end || *p == 0) return 0;
  return SplitAreaDescriptor(p, end, flag, out) ? 1 : 0;
}
