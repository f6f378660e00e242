// A library by the reader's file name that lacks most of the reader's entries.
extern "C" __attribute__((visibility("default"))) int Open() { return 0; }
