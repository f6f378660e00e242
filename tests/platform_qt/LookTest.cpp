#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPalette>
#include <QTimer>

#include "Colors.h"
#include "FixedFont.h"
#include "GuiTestApplication.h"
#include "MessageBox.h"
#include "MessageBoxes.h"

namespace {

TEST(Colors, PlainColoursAreBlueGreenRedFromTheHighByteDown) {
  EXPECT_EQ(ToQColor(0xFFDFB5), QColor(0xB5, 0xDF, 0xFF));
  EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
  EXPECT_EQ(ToQColor(clSilver), QColor(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(ToQColor(0x00123456), QColor(0x56, 0x34, 0x12));
}

TEST(Colors, SystemColoursComeFromThePalette) {
  const QPalette palette = QApplication::palette();
  EXPECT_EQ(ToQColor(clHighlight), palette.color(QPalette::Highlight));
  EXPECT_EQ(ToQColor(0x8000000D), palette.color(QPalette::Highlight));
  EXPECT_EQ(ToQColor(clBtnFace), palette.color(QPalette::Button));
  EXPECT_EQ(ToQColor(clWindowText), palette.color(QPalette::Text));
}

TEST(FixedFont, CellIsEightByFifteenPixels) {
  const QFontMetrics metrics(FixedFont());
  EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('M')), FixedFontCellWidth);
  EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("iiiiWWWW")), 8 * FixedFontCellWidth);
  EXPECT_EQ(metrics.height(), FixedFontCellHeight);
}

struct BoxCase {
  unsigned Flags;
  QMessageBox::Icon Icon;
  QMessageBox::StandardButton Press;
  int Result;
};

TEST(MessageBoxes, CaptionTextIconAndButtonsAreThoseAskedFor) {
  InstallMessageBoxes();
  const BoxCase cases[] = {
      {MB_OK | MB_ICONSTOP, QMessageBox::Critical, QMessageBox::Ok, IDOK},
      {MB_OK | MB_ICONWARNING, QMessageBox::Warning, QMessageBox::Ok, IDOK},
      {MB_YESNO | MB_ICONQUESTION, QMessageBox::Question, QMessageBox::No, IDNO},
      {MB_YESNOCANCEL | MB_ICONINFORMATION, QMessageBox::Information, QMessageBox::Cancel, IDCANCEL},
      {MB_OKCANCEL, QMessageBox::NoIcon, QMessageBox::Cancel, IDCANCEL},
  };
  for (const BoxCase& c : cases) {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      caption = box->windowTitle();
      text = box->text();
      icon = box->icon();
      box->button(c.Press)->click();
    });
    EXPECT_EQ(MessageBox("Incompatible firmware version !", "FATAL ERROR", c.Flags), c.Result);
    EXPECT_EQ(caption, QStringLiteral("FATAL ERROR"));
    EXPECT_EQ(text, QStringLiteral("Incompatible firmware version !"));
    EXPECT_EQ(icon, c.Icon);
  }
  SetMessageBoxHandler(nullptr);
}

}  // namespace
