#include "ImageBinding.h"

TBindResult TImageBinding::Bind(unsigned needs, const std::string& fileName) {
  if (!Library.Loaded()) {
    if (!Library.Load(fileName)) return TBindResult::NotFound;
    Version = Library.Entry<TBrenlowVersion>(BRENLOW_VERSION);
    FindFormat = Library.Entry<TBrenlowFindFormat>(BRENLOW_FIND_FORMAT);
    GetFormat = Library.Entry<TBrenlowGetFormat>(BRENLOW_GET_FORMAT);
    SetFormat = Library.Entry<TBrenlowSetFormat>(BRENLOW_SET_FORMAT);
    Open = Library.Entry<TBrenlowOpen>(BRENLOW_OPEN);
    GetData = Library.Entry<TBrenlowGetData>(BRENLOW_GET_DATA);
    PutData = Library.Entry<TBrenlowPutData>(BRENLOW_PUT_DATA);
    Close = Library.Entry<TBrenlowClose>(BRENLOW_CLOSE);
  }
  return Serves(needs) ? TBindResult::Bound : TBindResult::Unusable;
}

bool TImageBinding::Serves(unsigned needs) const {
  if (!SetFormat || !Open || !Close) return false;
  if ((needs & IMAGE_READS) && !GetData) return false;
  if ((needs & IMAGE_WRITES) && !PutData) return false;
  return (needs & ~(IMAGE_READS | IMAGE_WRITES)) == 0 || (Version && FindFormat && GetFormat);
}

TImageBinding* ProgramImageLibrary(unsigned needs) {
  static TImageBinding binding;
  return ReportBinding(binding.Bind(needs), BRENLOW_FILE) ? &binding : nullptr;
}
