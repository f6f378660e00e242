#pragma once
#include <QIcon>

// The 18 x 18 images of the main window's tool buttons, in button order
// (0 open program ... 21 communication log).
QIcon ToolGlyph(int index);
