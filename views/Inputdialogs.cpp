#include "Inputdialogs.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>

#include "ChoiceForm.h"
#include "Input.h"
#include "InputQuery.h"
#include "ModalDialog.h"

namespace {

QString WithoutTildes(const std::string& text) { return QString::fromLatin1(text).remove(QLatin1Char('~')); }

}  // namespace

bool InputQueryDialog(const std::string& Caption, const std::string& Prompt, std::string& Value, unsigned char Mode,
                      int HelpContext) {
  TInputForm form;
  form.HelpFile = QStringLiteral("Corvane.hlp");
  form.HelpContext = HelpContext;
  form.setWindowTitle(WithoutTildes(Caption));
  form.Prompt->setText(WithoutTildes(Prompt));
  const QString value = QString::fromLatin1(Value);
  form.Input->setText(value);
  if (Mode == 1) {
    form.SetAutoSelect(true);
    form.Input->setSelection(0, static_cast<int>(value.size()));
  } else {
    form.SetAutoSelect(false);
    form.Input->deselect();
    form.Input->setCursorPosition(static_cast<int>(value.size()));
  }
  if (ShowModal(form) != mrOk) return false;
  Value = form.Input->text().toLatin1().toStdString();
  return true;
}

int ChoiceDialog(const std::string& Caption, const char* const* Items, int ItemIndex) {
  QStringList items;
  for (const char* const* item = Items; item && *item; ++item) items.append(WithoutTildes(*item));
  TChoiceForm form(QString::fromLatin1(Caption), items);
  // A checked radio button is the group's tab stop, and the group comes first
  // in the tab order: it starts with the focus, so the arrow keys move the
  // choice at once. With nothing checked the focus starts on Ok.
  if (QAbstractButton* preset = form.Buttons->button(ItemIndex)) {
    preset->setChecked(true);
    preset->setFocus();
  }
  if (ShowModal(form) != mrOk) return -1;
  return form.Buttons->checkedId();
}

void InstallInputQuery() {
  SetInputQueryHandler([](const char* caption, const char* prompt, std::string& value, int mode) {
    return InputQueryDialog(caption, prompt, value, static_cast<unsigned char>(mode), 0);
  });
}
