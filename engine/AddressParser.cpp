#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "Configuration.h"
#include "MessageBox.h"
#include "Tgtz80.h"
#include "Utility.h"

namespace {
// Area index and flag of an upper-cased area field; false when no area has
// that name. "P" before a name marks an address given as program code.
bool FindArea(const std::string& field, uint8_t& area) {
  std::string name;
  for (uint16_t i = 0; i < 32; ++i) {
    TheCpu->GetAreaName(i, name);
    if (name.empty()) return false;
    if (field == "P" + name) {
      area = static_cast<uint8_t>(i | AREA_PROGRAM);
      return true;
    }
    if (field == name) {
      area = static_cast<uint8_t>(i);
      return true;
    }
  }
  return false;
}
}  // namespace

int ParseAddress(const char* text, uint8_t& area, uint32_t& address, uint8_t report) {
  auto fail = [report](const char* message, int code) {
    if (report == 1) MessageBox(message, "Error", MB_ICONSTOP);
    return code;
  };
  const char* p = text ? text : "";
  SkipWhiteSpace(p);

  uint8_t a = 1;
  if (const char* colon = std::strchr(p, ':')) {
    const size_t length = static_cast<size_t>(colon - p);
    if (length > MAX_EXPRESSION_TEXT) return fail("Incorrect area field", -1);
    std::string field(p, length);
    std::transform(field.begin(), field.end(), field.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (!FindArea(field, a)) return fail("Incorrect area field", -1);
    p = colon + 1;
  }

  uint32_t bank = 0;
  if (const char* comma = std::strchr(p, ',')) {
    const size_t length = static_cast<size_t>(comma - p);
    if (length > MAX_EXPRESSION_TEXT) return fail("Incorrect address", -1);
    uint32_t value = 0;
    const int result = EvalString(std::string(p, length).c_str(), value);
    if (result != 0) return fail("Incorrect address", result);
    bank = value << 16;
    p = comma + 1;
  }

  uint32_t value = 0;
  const int result = EvalString(p, value);
  if (result != 0) return fail("Incorrect address", result);
  // The bank goes on after the masking, so it survives a 16-bit area.
  address = TheCpu->MaskAddress(a, value) | bank;
  area = a;
  return 0;
}
