#include "SRegsInterior.h"

#include "Configuration.h"
#include "Tgtz80.h"
#include "Utility.h"

namespace {

constexpr int MinLines = 4;

}  // namespace

TSRegsInterior::TSRegsInterior(QWidget* Owner) : TRegisterListInterior(Owner, false) {}

int TSRegsInterior::LineCount() const { return static_cast<int>(TheCpu->SRegsCount); }

int TSRegsInterior::LineWidth() const { return static_cast<int>(TheCpu->SRegsWidth); }

void TSRegsInterior::CreateLine(unsigned char Index, std::string& Line) {
  TheCpu->GetSpecialRegisterLine(Index, Line);
}

uint32_t TSRegsInterior::GetValue(int Index) const {
  uint8_t value[4] = {};
  TheCpu->GetSpecialRegister(static_cast<uint16_t>(Index), sizeof value, value);
  uint32_t result = 0;
  TByteStream(value, value + sizeof value).ReadDword(result);
  return result;
}

void TSRegsInterior::SetValue(int Index, uint32_t Value) {
  TheCpu->SetSpecialRegister(static_cast<uint16_t>(Index), Value);
}

void TSRegsInterior::GetMinMaxInfo(QSize& Min, QSize& Max) const {
  ComputeAreaSize(QSize(LineWidth(), MinLines), Min);
  ComputeAreaSize(QSize(LineWidth(), LineCount() - FTopLine), Max);
}
