#pragma once
#include <string>

// The modal dialogs through which commands ask for their arguments. Texts are
// 8-bit (Latin-1). Every '~' in the input dialog's caption and prompt and in
// the choice items is left out, so a label written between two tildes shows
// as the bare name.

// Asks for one line of text, starting from Value. Mode 1 shows Value selected,
// so typing replaces it; any other mode puts the caret after it, so typing
// appends. On Ok Value becomes the typed text and the result is true; on
// Cancel, Esc, the close box or UM_CLOSEDIALOG Value stays and the result is
// false. The help context is kept for a help file that does not exist here.
bool InputQueryDialog(const std::string& Caption, const std::string& Prompt, std::string& Value, unsigned char Mode,
                      int HelpContext);

// Lets the user pick one of Items (texts ended by a null pointer) with radio
// buttons, ItemIndex preselected (none when out of range). Returns the chosen
// index on Ok, -1 when none is chosen or on Cancel.
int ChoiceDialog(const std::string& Caption, const char* const* Items, int ItemIndex);

// Lets code without windows (the engine's load prompts) ask through
// InputQueryDialog.
void InstallInputQuery();
