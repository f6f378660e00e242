#include "ChoiceForm.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "ModalDialog.h"

namespace {

constexpr int ClientWidth = 306;
constexpr int ItemHeight = 16;
constexpr int TwoColumnsFrom = 8;

}  // namespace

TChoiceForm::TChoiceForm(const QString& caption, const QStringList& items)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Group(new QGroupBox(this)),
      Buttons(new QButtonGroup(this)),
      OkButton(new QPushButton(QStringLiteral("&Ok"), this)),
      CancelButton(new QPushButton(QStringLiteral("&Cancel"), this)) {
  setFont(DialogFont());
  setWindowTitle(caption);
  const int count = static_cast<int>(items.size());
  const int columns = count < TwoColumnsFrom ? 1 : 2;
  const int clientHeight = ItemHeight * (count / columns) + 56;
  setFixedSize(ClientWidth, clientHeight);

  Group->setGeometry(4, 4, ClientWidth - 8, clientHeight - 36);
  // The buttons fill the group column by column below its caption line.
  if (count > 0) {
    const int perColumn = (count + columns - 1) / columns;
    const int fontHeight = QFontMetrics(font()).height();
    const int buttonWidth = (Group->width() - 10) / columns;
    const int rowsHeight = Group->height() - fontHeight - 5;
    const int buttonHeight = rowsHeight / perColumn;
    const int topMargin = fontHeight + 1 + (rowsHeight % perColumn) / 2;
    for (int i = 0; i < count; ++i) {
      auto* button = new QRadioButton(items[i], Group);
      button->setGeometry((i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin, buttonWidth,
                          buttonHeight);
      Buttons->addButton(button, i);
    }
  }

  OkButton->setGeometry(ClientWidth - 158, clientHeight - 25, 73, 21);
  OkButton->setDefault(true);
  CancelButton->setGeometry(ClientWidth - 78, clientHeight - 25, 73, 21);
  CancelButton->setAutoDefault(false);
  connect(OkButton, &QPushButton::clicked, this, [this] { done(mrOk); });
  connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TChoiceForm::Dispatch(TMessage& message) {
  if (message.Msg == UM_CLOSEDIALOG) done(mrCancel);
}

void TChoiceForm::reject() { done(mrCancel); }
