#include "MardynHarness.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>

TMardynHarness::TMardynHarness()
    : modules_(new uint8_t[MODULE_TABLE_SIZE]),
      scopes_(new uint8_t[SCOPE_TABLE_SIZE]),
      lines_(new uint8_t[LINE_TABLE_SIZE]),
      types_(new uint8_t[TYPE_BUFFER_SIZE]) {
  scratch_ = (std::filesystem::temp_directory_path() / ("mardyn-" + std::to_string(getpid()) + ".abs")).string();
  bound_ = reader_.Bind(MARDYN_FILE) == TBindResult::Bound;
}

void TMardynHarness::ResetTables() {
  // Stale bytes everywhere, then the program's end markers: whatever the
  // reader leaves unwritten shows up as 0xA5.
  std::memset(modules_.get(), 0xA5, MODULE_TABLE_SIZE);
  std::memset(scopes_.get(), 0xA5, SCOPE_TABLE_SIZE);
  std::memset(lines_.get(), 0, LINE_TABLE_SIZE);
  std::memset(types_.get(), 0xA5, TYPE_BUFFER_SIZE);
  modules_[0] = 0;
  std::memcpy(scopes_.get(), &SCOPE_END_MODULE, sizeof SCOPE_END_MODULE);
  std::memset(types_.get(), 0, 4);
}

std::vector<TParsed> TMardynHarness::ParseBytes(const std::vector<uint8_t>& bytes, std::size_t limit) {
  TIeeeWriter writer;
  writer.Raw(bytes);
  writer.SaveTo(scratch_);
  auto results = ParseFile(scratch_, limit);
  std::filesystem::remove(scratch_);
  return results;
}

std::vector<TParsed> TMardynHarness::ParseFile(const std::string& path, std::size_t limit) {
  ResetTables();
  reader_.Open(path.c_str(), 0, reinterpret_cast<TModuleEntry*>(modules_.get()), reinterpret_cast<TScopeEntry*>(scopes_.get()),
        reinterpret_cast<TLineEntry*>(lines_.get()), types_.get());
  std::vector<TParsed> results;
  while (results.size() < limit) {
    const TReaderResult* r = reader_.Parse();
    TParsed p;
    p.Kind = r->Kind;
    switch (r->Kind) {
      case PR_CODE: {
        auto block = reinterpret_cast<const TCodeBlock*>(r->Payload);
        p.Area = block->Area;
        p.Address = block->Address;
        p.Code.assign(block->Data, block->Data + block->Count);
        break;
      }
      case PR_SYMBOLS:
      case PR_EXTERN: {
        auto slots = reinterpret_cast<const TSymbolSlot*>(r->Payload);
        p.Symbol = slots[0];
        p.EndSlotFollows = slots[1].Name[0] == '\0';
        break;
      }
      case PR_ERROR:
        p.Text = reinterpret_cast<const char*>(r->Payload);
        break;
      default:
        p.Value = r->Payload;
        break;
    }
    results.push_back(p);
    if (r->Kind == PR_END || r->Kind == PR_ERROR) break;
  }
  reader_.Close();
  return results;
}

std::size_t TMardynHarness::LineCount() const {
  static const uint8_t zero[sizeof(TLineEntry)] = {};
  std::size_t n = 0;
  while (n < LINE_TABLE_ENTRIES && std::memcmp(lines_.get() + n * sizeof(TLineEntry), zero, sizeof zero) != 0) ++n;
  return n;
}

std::vector<int> Kinds(const std::vector<TParsed>& results) {
  std::vector<int> kinds;
  for (const TParsed& p : results) kinds.push_back(p.Kind);
  return kinds;
}

std::vector<uint8_t> Wrapped(const std::vector<uint8_t>& body, const char* processor) {
  TIeeeWriter writer;
  writer.ModuleBegin(processor, "test").Raw(body).ModuleEnd();
  return writer.Bytes();
}
