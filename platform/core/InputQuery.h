#pragma once
#include <functional>
#include <string>

// The one-line input dialog for code without windows (the engine's bank
// prompt while loading): caption, prompt, the text shown and edited, and the
// selection mode (1: whole text selected). True when the user confirmed; the
// GUI installs a handler that shows its input dialog, tests install their own.
// Without a handler every query counts as cancelled.
using TInputQueryHandler = std::function<bool(const char* caption, const char* prompt, std::string& value, int mode)>;
bool InputQuery(const char* caption, const char* prompt, std::string& value, int mode);
TInputQueryHandler SetInputQueryHandler(TInputQueryHandler handler);
