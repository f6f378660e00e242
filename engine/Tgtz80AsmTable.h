#pragma once
#include <cstddef>
#include <cstdint>

// Operand kinds of the single-line assembler. Names 1 to 34 are the operand
// texts in this order; the condition C shares the kind of register C, so
// K_CC is never produced and the table rows use K_C for both.
enum TOperandKind : int8_t {
  K_NONE = 0,  // empty operand, or one that cannot be read
  K_B = 1,
  K_C,
  K_D,
  K_E,
  K_H,
  K_L,
  K_MHL,  // (HL)
  K_A,
  K_IXD,  // (IX+d)
  K_IYD,  // (IY+d)
  K_AF,
  K_BC,
  K_DE,
  K_HL,
  K_SP,
  K_IX,
  K_IY,
  K_AF2,  // AF'
  K_NZ,
  K_Z,
  K_NC,
  K_CC,
  K_PO,
  K_PE,
  K_P,
  K_M,
  K_MC,   // (C)
  K_MSP,  // (SP)
  K_I,
  K_R,
  K_MIX,  // (IX)
  K_MIY,  // (IY)
  K_MBC,  // (BC)
  K_MDE,  // (DE)
  K_N = 35,    // value 0 to 0xFF
  K_NN = 36,   // value 0x100 to 0xFFFF; as a row kind it also takes K_N
  K_MN = 38,   // (value 0 to 0xFF)
  K_MNN = 39,  // (value 0x100 to 0xFFFF); as a row kind it also takes K_MN
  K_HEADER = -1,
};

// One row of the instruction table. A header row (both kinds K_HEADER) names
// a mnemonic; the operand rows of its accepted forms follow it. A header of a
// mnemonic without operands carries its opcode (one byte, or two when the
// second is not 0); other headers carry 0xFF bytes. In operand rows the
// opcode has 0 where a displacement, immediate value or address goes.
struct TAsmRow {
  const char* Mnemonic;  // null in operand rows
  int8_t Kind1;
  int8_t Kind2;
  uint8_t Opcode[4];
};

// Mnemonics in alphabetical order, each followed by its operand rows.
extern const TAsmRow AsmTable[];
extern const std::size_t AsmTableSize;
