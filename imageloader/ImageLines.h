#pragma once

struct TImageRecord;
struct TLoaderState;

// The next line of the state's file that holds more than white space: its
// length. At the end of the data the record becomes the end record and the
// result is 0; -1 on a read error.
int NextImageLine(TLoaderState& state, TImageRecord& record);
