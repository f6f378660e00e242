#pragma once
// The readers and writers of the format table, one record per call.
struct TImageRecord;

int ReadSymbolic(TImageRecord& record);
int WriteSymbolic(TImageRecord& record);

int ReadIntelHex(TImageRecord& record);
int WriteIntelHex(TImageRecord& record);
int ReadIntelHexWithM51(TImageRecord& record);
int ReadIntelHexWithAd2500(TImageRecord& record);
int ReadIntelHexWithToshiba(TImageRecord& record);
int ReadIntelHexWithAvrasm(TImageRecord& record);

int ReadMotorola(TImageRecord& record);
int WriteSRecord(TImageRecord& record);

int ReadBinary(TImageRecord& record);
int WriteBinary(TImageRecord& record);

// Companion symbol files, read once the image part has ended.
int ReadM51Symbols(TImageRecord& record);
int ReadToshibaSymbols(TImageRecord& record);
int ReadAvrasmSymbols(TImageRecord& record);
int ReadMotorolaSymbols(TImageRecord& record);
