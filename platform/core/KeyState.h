#pragma once
#include <functional>

// Virtual key codes that the abort checks use.
enum : int { VK_CANCEL = 0x03, VK_CONTROL = 0x11 };

// In place of GetAsyncKeyState: bit 0x8000 while the key is down, bit 0x0001
// when it was pressed since the previous call for that key. The GUI installs a
// handler fed by its busy input guard; tests install their own.
using TKeyStateHandler = std::function<short(int vk)>;
short GetAsyncKeyState(int vk);
TKeyStateHandler SetKeyStateHandler(TKeyStateHandler handler);

// In place of VkKeyScanA: the virtual key of a character (letters and digits).
short VkKeyScan(char c);
