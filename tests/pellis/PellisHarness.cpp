#include "PellisHarness.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

void Fill(std::vector<uint8_t>& table, std::size_t size) {
  table.assign(size + TPellisHarness::GUARD, 0);
  std::memset(table.data() + size, TPellisHarness::GUARD_BYTE, TPellisHarness::GUARD);
}

bool GuardIntact(const std::vector<uint8_t>& table) {
  for (std::size_t i = table.size() - TPellisHarness::GUARD; i < table.size(); ++i)
    if (table[i] != TPellisHarness::GUARD_BYTE) return false;
  return true;
}

TParsed Copy(const TReaderResult& result) {
  TParsed parsed;
  parsed.Kind = result.Kind;
  switch (result.Kind) {
    case PR_MODULEFLAG:
      parsed.Value = result.Payload;
      break;
    case PR_CODE: {
      const auto* block = reinterpret_cast<const TCodeBlock*>(result.Payload);
      parsed.Code = *block;
      parsed.CodeBytes.assign(block->Data, block->Data + block->Count);
      break;
    }
    case PR_SYMBOLS:
      for (const auto* slot = reinterpret_cast<const TSymbolSlot*>(result.Payload); slot->Name[0] != '\0'; ++slot)
        parsed.Symbols.push_back(*slot);
      break;
    case PR_TARGETINFO:
      std::memcpy(parsed.Target.data(), reinterpret_cast<const void*>(result.Payload), 4);
      break;
    case PR_ERROR:
      parsed.Text = reinterpret_cast<const char*>(result.Payload);
      break;
    default:
      break;
  }
  return parsed;
}

}  // namespace

TPellisHarness::TPellisHarness() {
  bound_ = Bind(PELLIS_FILE) == TBindResult::Bound;
  folder_ = (std::filesystem::temp_directory_path() / ("pellis-test-" + std::to_string(getpid()))).string();
  std::filesystem::create_directories(folder_);
  ResetTables();
}

TPellisHarness::~TPellisHarness() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

bool TPellisHarness::Loaded() const {
  return bound_ && Version;
}

void TPellisHarness::ResetTables() {
  Fill(modules_, MODULE_TABLE_SIZE);
  Fill(scopes_, SCOPE_TABLE_SIZE);
  Fill(lines_, LINE_TABLE_SIZE);
  Fill(types_, TYPE_BUFFER_SIZE);
  int16_t end = SCOPE_END_MODULE;
  std::memcpy(scopes_.data(), &end, sizeof end);
  lines_[offsetof(TLineEntry, LineKind)] = LINE_KIND_NONE;
}

std::vector<TParsed> TPellisHarness::Run(const std::string& path, std::size_t maxCalls) {
  ResetTables();
  Open(path.c_str(), 0, reinterpret_cast<TModuleEntry*>(modules_.data()),
       reinterpret_cast<TScopeEntry*>(scopes_.data()), reinterpret_cast<TLineEntry*>(lines_.data()), types_.data());
  std::vector<TParsed> results;
  for (std::size_t i = 0; i < maxCalls; ++i) {
    results.push_back(Copy(*Parse()));
    if (results.back().Kind == PR_END || results.back().Kind == PR_ERROR) break;
  }
  Close();
  return results;
}

std::vector<TParsed> TPellisHarness::Run(const TIarObjectWriter& file, std::size_t maxCalls) {
  return Run(Save(file), maxCalls);
}

std::string TPellisHarness::Save(const TIarObjectWriter& file) {
  std::string path = folder_ + "/object" + std::to_string(saved_++) + ".d01";
  file.Save(path);
  return path;
}

const TModuleEntry& TPellisHarness::Module(std::size_t index) const {
  return reinterpret_cast<const TModuleEntry*>(modules_.data())[index];
}

const TScopeEntry& TPellisHarness::Scope(std::size_t index) const {
  return reinterpret_cast<const TScopeEntry*>(scopes_.data())[index];
}

const TLineEntry& TPellisHarness::Line(std::size_t index) const {
  return reinterpret_cast<const TLineEntry*>(lines_.data())[index];
}

bool TPellisHarness::GuardsIntact() const {
  return GuardIntact(modules_) && GuardIntact(scopes_) && GuardIntact(lines_) && GuardIntact(types_);
}

std::string BadRecordText(long offset, const std::vector<uint8_t>& bytes) {
  std::string text = "Unimplemented block at [" + std::to_string(offset) + "]\n\nDump:";
  for (std::size_t i = 0; i < 32; ++i) {
    if (i % 16 == 0) text += '\n';
    char hex[16];
    if (i < bytes.size())
      std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
    else
      std::snprintf(hex, sizeof hex, "FFFFFFFF");
    text += hex;
  }
  return text;
}
