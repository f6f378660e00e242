#pragma once
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
// The Z80 register set as TCpu and TProtocol exchange it. TCpu keeps its copy
// in host byte order; the target side keeps every word high byte first.
struct TRegisterImage {
  uint16_t AF;
  uint16_t BC;
  uint16_t DE;
  uint16_t HL;
  uint16_t IX;
  uint16_t IY;
  uint16_t AF_;
  uint16_t BC_;
  uint16_t DE_;
  uint16_t HL_;
  uint8_t I;
  uint16_t SP;
  uint16_t PC;
  uint8_t BANK;
};
#pragma pack(pop)

static_assert(sizeof(TRegisterImage) == 26);
static_assert(offsetof(TRegisterImage, AF) == 0);
static_assert(offsetof(TRegisterImage, BC) == 2);
static_assert(offsetof(TRegisterImage, DE) == 4);
static_assert(offsetof(TRegisterImage, HL) == 6);
static_assert(offsetof(TRegisterImage, IX) == 8);
static_assert(offsetof(TRegisterImage, IY) == 10);
static_assert(offsetof(TRegisterImage, AF_) == 12);
static_assert(offsetof(TRegisterImage, BC_) == 14);
static_assert(offsetof(TRegisterImage, DE_) == 16);
static_assert(offsetof(TRegisterImage, HL_) == 18);
static_assert(offsetof(TRegisterImage, I) == 20);
static_assert(offsetof(TRegisterImage, SP) == 21);
static_assert(offsetof(TRegisterImage, PC) == 23);
static_assert(offsetof(TRegisterImage, BANK) == 25);
