#pragma once
#include <QObject>

#include <cstdint>
#include <functional>
#include <string>

// The events through which a view asks its host window for target state or
// tells it what changed. A view calls an event only when it is assigned.
using TNotifyEvent = std::function<void(QObject* Sender)>;
using TReadDataEvent =
    std::function<void(QObject* Sender, uint16_t Area, uint32_t Address, uint16_t NBytes, uint8_t* Buffer)>;
using TReadBreakEvent = std::function<void(QObject* Sender, uint16_t Area, uint32_t Address, bool& State)>;
using TWriteBreakEvent = std::function<void(QObject* Sender, uint16_t Area, uint32_t Address, int Mode)>;
using TWritePCEvent = std::function<void(QObject* Sender, uint32_t Address)>;
using TReadPCEvent = std::function<void(QObject* Sender, uint32_t& Address)>;
using TAssembleEvent =
    std::function<void(QObject* Sender, uint16_t Area, uint32_t Address, const std::string& Str, bool& Done)>;
using TGetSourceEvent =
    std::function<void(QObject* Sender, uint16_t Area, uint32_t Address, std::string& Str, bool& Done)>;
using TAddrChangedEvent = std::function<void(QObject* Sender, uint16_t Area, uint32_t Addr)>;
using TDataModeChangedEvent = std::function<void(QObject* Sender, uint16_t DataMode)>;
using TCharEvent = std::function<void(QObject* Sender, uint16_t ACharCode, int AKeyData)>;
