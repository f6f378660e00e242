#include "ReaderBinding.h"

TBindResult TReaderBinding::Bind(const std::string& fileName) {
  Free();
  if (!Library.Load(fileName)) return TBindResult::NotFound;
  Open = Library.Entry<TReaderOpenProc>(READER_OPEN);
  Close = Library.Entry<TReaderCloseProc>(READER_CLOSE);
  Parse = Library.Entry<TReaderParseProc>(READER_PARSE);
  MainProcName = Library.Entry<TReaderNameProc>(READER_MAIN_PROC_NAME);
  ExitProcName = Library.Entry<TReaderNameProc>(READER_EXIT_PROC_NAME);
  Version = Library.Entry<TReaderNameProc>(READER_VERSION);
  if (Open && Close && Parse && MainProcName && ExitProcName) return TBindResult::Bound;
  Free();
  return TBindResult::Unusable;
}

void TReaderBinding::Free() {
  Library.Free();
  Open = nullptr;
  Parse = nullptr;
  Close = nullptr;
  MainProcName = ExitProcName = Version = nullptr;
}
