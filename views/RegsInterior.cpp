#include "RegsInterior.h"

#include <algorithm>

#include "Configuration.h"
#include "Tgtz80.h"
#include "Utility.h"

namespace {

constexpr int MinLines = 4;
// The line is drawn two pixels in, so it needs that much beyond its columns.
constexpr int TextOffset = 2;
constexpr int ExtraMaxWidth = 4;

}  // namespace

TRegsInterior::TRegsInterior(QWidget* Owner) : TRegisterListInterior(Owner, true) {}

int TRegsInterior::LineCount() const { return static_cast<int>(TheCpu->RegsCount); }

void TRegsInterior::CreateLine(unsigned char Index, std::string& Line) { TheCpu->GetRegisterLine(Index, Line); }

uint32_t TRegsInterior::GetValue(int Index) const {
  uint8_t value[4];
  TheCpu->GetRegister(static_cast<uint32_t>(Index), sizeof value, value);
  uint32_t result = 0;
  TByteStream(value, value + sizeof value).ReadDword(result);
  return result;
}

void TRegsInterior::SetValue(int Index, uint32_t Value) { TheCpu->SetRegister(static_cast<uint16_t>(Index), Value); }

void TRegsInterior::GetMinMaxInfo(QSize& Min, QSize& Max) const {
  // RegsWidth leaves out part of the drawn line (label and value, without the
  // marker): take the wider of the two.
  int columns = static_cast<int>(TheCpu->RegsWidth);
  std::string line;
  for (int i = 0; i < LineCount(); ++i) {
    TheCpu->GetRegisterLine(static_cast<uint16_t>(i), line);
    columns = std::max(columns, static_cast<int>(line.size()) - 1);
  }
  ComputeAreaSize(QSize(columns, MinLines), Min);
  ComputeAreaSize(QSize(columns, LineCount() - FTopLine), Max);
  Min.rwidth() += TextOffset;
  Max.rwidth() += TextOffset + ExtraMaxWidth;
}
