#pragma once

// Shows the program's message boxes with QMessageBox: installs the handler
// behind MessageBox (platform core), so that captions, texts, icons and
// buttons appear as the callers pass them. The box is modal over the active
// window.
void InstallMessageBoxes();
