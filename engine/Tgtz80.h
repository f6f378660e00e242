#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "RegisterImage.h"

#pragma pack(push, 1)
// One raw bus cycle as the target's trace buffer records it.
struct TTraceFrame {
  uint32_t Address;
  uint8_t Data;
  uint8_t Data2;  // second data byte; a Z80 bus carries only one
  uint8_t Status0;
  uint8_t Status1;
  uint8_t ExtLines[3];
};

// One decoded line of the trace view; the view caches these.
struct _framelinetype {
  int32_t FrameNumber;  // frame shown, or the frame where decoding continues
  uint8_t Continuation;
  uint8_t Kind;  // TFrameLineKind
  uint32_t Address;
  uint16_t CycleCode;
  uint8_t ByteCount;
  uint8_t Bytes[8];
  uint8_t ExtLines[3];
};
#pragma pack(pop)

static_assert(sizeof(TTraceFrame) == 11);
static_assert(offsetof(TTraceFrame, Address) == 0);
static_assert(offsetof(TTraceFrame, Data) == 4);
static_assert(offsetof(TTraceFrame, Data2) == 5);
static_assert(offsetof(TTraceFrame, Status0) == 6);
static_assert(offsetof(TTraceFrame, Status1) == 7);
static_assert(offsetof(TTraceFrame, ExtLines) == 8);

static_assert(sizeof(_framelinetype) == 24);
static_assert(offsetof(_framelinetype, FrameNumber) == 0);
static_assert(offsetof(_framelinetype, Continuation) == 4);
static_assert(offsetof(_framelinetype, Kind) == 5);
static_assert(offsetof(_framelinetype, Address) == 6);
static_assert(offsetof(_framelinetype, CycleCode) == 10);
static_assert(offsetof(_framelinetype, ByteCount) == 12);
static_assert(offsetof(_framelinetype, Bytes) == 13);
static_assert(offsetof(_framelinetype, ExtLines) == 21);

enum TFrameLineKind : uint8_t {
  FL_UNDECODED = 0,
  FL_BLANK = 1,
  FL_CYCLE = 2,
  FL_INSTRUCTION = 3,
  FL_CODECYCLE = 5,
  FL_TRACEEND = 6,
};

// A frame line's text: 127 characters and a terminator.
constexpr std::size_t FRAME_LINE_SIZE = 128;

// Area attribute bits that travel with every target address.
enum : uint16_t {
  AREA_MASK = 0x1F,      // index into TCpu::AreaNames
  AREA_BANKED = 0x40,    // the address carries a bank number in bits 16 and up
  AREA_PROGRAM = 0x80,   // program code addressed directly
};

// Banked window of the target's address space. Nothing in the program sets
// these; BankMode 0xFF means banking is off.
extern uint8_t BankMode;
extern uint32_t BankWindowLow;
extern uint32_t BankWindowHigh;
extern uint32_t BankSize;

// The target processor, a Z80: registers, memory areas, disassembler,
// single-line assembler and trace-frame decoding. One instance, TheCpu.
class TCpu {
 public:
  TCpu();
  ~TCpu() = default;
  TCpu(const TCpu&) = delete;
  TCpu& operator=(const TCpu&) = delete;

  // Address width of the views: 0 ADDRx8, 1 ADDRx16, 2 ADDRx24, 3 ADDRx32.
  uint8_t AddrMode = 1;
  // Target byte order of words; the debug information may change it.
  uint8_t LittleEndian = 1;
  uint32_t RegsWidth = 10;
  uint32_t RegsCount = 14;
  uint32_t FlagsWidth = 4;
  uint32_t FlagsCount = 8;
  uint32_t SRegsWidth = 0;
  uint32_t SRegsCount = 0;  // 0: no special registers
  uint8_t CpuType = 1;      // 1 Z80
  uint8_t MaxInstrSize = 4;
  std::string SRegsTitle = "Spec Regs";
  std::string DebugExtension = ".D01";
  std::string SymbolicExtension = ".A01";
  std::string CpuName = "Z80";
  std::array<std::string, 32> AreaNames;

  // ---- Register image --------------------------------------------------
  uint8_t GetRegisterImageSize() const { return sizeof(TRegisterImage); }
  TRegisterImage* GetRegisterImage() { return &CurrentRegisters; }
  uint8_t GetRegistersValid() const { return RegistersValid; }
  void SetRegistersValid(uint8_t valid) { RegistersValid = valid; }
  // Keeps the current image as the one the change markers compare with.
  void SavePreviousRegisters();
  // Exchanges the two bytes of every word of the current image.
  void SwapRegisterImage();
  // Both read the registers from the target first when they are not valid.
  uint16_t GetPC();
  uint16_t GetSP();
  // Changes the image only; the caller writes it back.
  void SetPC(uint16_t value) { CurrentRegisters.PC = value; }
  uint16_t GetStackArea() const { return 2; }

  // ---- Register, flag and special-register view lines -------------------
  // Each line starts with "1" (unchanged) or "2" (changed since the previous
  // image). Register n in view order 0 AF .. 12 PC, 13 BANK.
  void GetRegisterLine(uint16_t n, std::string& out);
  // Bit n of F.
  void GetFlagLine(uint16_t n, std::string& out);
  // n in view order; the value is cut to 16 bits first, then I and BANK take
  // only a value up to 0xFF (else nothing is stored and the result is 1).
  uint16_t SetRegister(uint16_t n, uint32_t value);
  // Inverts bit n (0..7) of F; any other n changes nothing.
  uint16_t ToggleFlag(uint16_t n);
  // The low size bytes (1..4) of a register, least significant first. Without
  // 0x100 the code is the view index; with it, the low byte is the debug
  // information's register number. Reads the image without the target.
  void GetRegister(uint32_t code, uint16_t size, uint8_t* out) const;
  // This target has no special registers.
  void GetSpecialRegisterLine(uint16_t n, std::string& out) const;
  void GetSpecialRegister(uint16_t n, uint16_t size, uint8_t* out) const;
  uint16_t SetSpecialRegister(uint16_t n, uint32_t value);

  // ---- Areas and addresses ----------------------------------------------
  void GetAreaName(uint16_t area, std::string& out) const;
  uint32_t MaskAddress(uint16_t area, uint32_t address) const;
  uint32_t LinearAddress(uint32_t address) const;
  uint32_t CurrentBankAddress(uint16_t area, uint32_t address);
  // Appends the pointer type's text to text; returns 14, the index of the
  // C type name "address".
  uint16_t GetPointerTypeName(uint8_t typeCode, std::string& text) const;

  // ---- Disassembler -----------------------------------------------------
  // Writes one line for the instruction at address into out, a buffer of
  // outSize bytes that the caller filled with outSize - 1 blanks and a
  // terminator; the fields stand at fixed columns, no terminator is left
  // inside the line and nothing is written at out[outSize - 1] or beyond.
  // code holds at least MaxInstrSize bytes. Returns the length, 1 to 4.
  uint16_t Disassemble(uint16_t area, uint32_t address, const uint8_t* code, char* out, std::size_t outSize,
                       uint8_t labelMode) const;
  // The label of an address: its symbol's name (between '~' in label mode 1)
  // or at least four hex digits and 'h'. Writes a terminated text of at most
  // outSize - 1 characters and returns the number of characters written.
  int FormatAddress(char* out, std::size_t outSize, uint16_t area, uint32_t address, uint8_t labelMode) const;
  // Decodes an instruction without DD or FD prefix into a terminated text of
  // at most outSize - 1 characters; returns its length in bytes.
  uint16_t DecodeInstruction(uint8_t area, uint32_t address, const uint8_t* code, uint8_t labelMode, char* out,
                             std::size_t outSize) const;

  // ---- Single-line assembler --------------------------------------------
  // Assembles one line into out (at least 4 bytes) and returns the number of
  // bytes, or 0 after an error that has been shown. source is cut up in place.
  uint16_t Assemble(uint32_t address, char* source, uint8_t* out) const;
  // The operand's kind (0 when it cannot be read) and its value.
  uint8_t ParseOperand(const char* text, uint16_t& value) const;
  // Stores an operand value by its row kind; returns the bytes stored (0..2).
  uint16_t StoreOperand(uint8_t kind, uint16_t value, uint8_t* out) const;
  // 2 when code starts with a CALL (target set), else 0 (target untouched).
  uint8_t GetCallTarget(const uint8_t* code, uint32_t address, uint32_t& target) const;

  // ---- Trace frames -----------------------------------------------------
  bool IsEmptyFrame(const TTraceFrame& frame) const;
  bool IsFetchFrame(const TTraceFrame& frame) const;
  bool IsCodeFrame(const TTraceFrame& frame) const;
  void DecodeFrame(int32_t frameNumber, _framelinetype& line, const TTraceFrame& frame) const;
  uint16_t GetFrameByteCount(const TTraceFrame& frame) const;
  // 1 and the data byte when the frame's address is the expected one, else 0.
  uint16_t GetFrameByte(uint32_t expectedAddress, const TTraceFrame& frame, uint8_t& byte) const;
  // Called once an instruction line is complete; a Z80 needs nothing here.
  void AdjustTraceInstruction(_framelinetype& line) const;
  // Writes the line's text into out, which holds FRAME_LINE_SIZE bytes.
  void FormatFrameLine(const _framelinetype& line, char* out) const;

 private:
  TRegisterImage CurrentRegisters{};
  uint8_t RegistersValid = 0;
  TRegisterImage PreviousRegisters{};

  uint16_t RegisterByIndex(uint16_t n) const;
  uint32_t RegisterByNumber(uint8_t number) const;
};
