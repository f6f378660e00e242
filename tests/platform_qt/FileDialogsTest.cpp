#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QRegularExpression>
#include <QTimer>

#include "FileDialogs.h"
#include "GuiTestApplication.h"

namespace {

bool Matches(const QString& nameFilter, const QString& file) {
  // The patterns stand in the last parentheses, separated by blanks.
  const qsizetype open = nameFilter.lastIndexOf(QLatin1Char('('));
  const QStringList patterns = nameFilter.mid(open + 1).chopped(1).split(QLatin1Char(' '));
  for (const QString& pattern : patterns)
    if (QRegularExpression::fromWildcard(pattern, Qt::CaseSensitive).match(file).hasMatch()) return true;
  return false;
}

TEST(FileDialogs, FiltersBecomeNameFiltersOnePerDescription) {
  const QStringList filters =
      QtNameFilters(QStringLiteral("Assembler file (*.asm)|*.asm|Intel HEX (*.hex)|*.hex;*.ihx|All files (*.*)|*.*"));
  EXPECT_EQ(filters, QStringList({QStringLiteral("Assembler file (*.asm) (*.[aA][sS][mM])"),
                                  QStringLiteral("Intel HEX (*.hex) (*.[hH][eE][xX] *.[iI][hH][xX])"),
                                  QStringLiteral("All files (*.*) (*)")}));
  EXPECT_TRUE(QtNameFilters(QString()).isEmpty());
  EXPECT_EQ(QtNameFilters(QStringLiteral("Odd|")).size(), 1);
}

struct MatchCase {
  const char* File;
  bool Hex;
  bool All;
};

TEST(FileDialogs, PatternsMatchWithoutRegardToCaseAndStarDotStarMatchesEverything) {
  const QStringList filters = QtNameFilters(QStringLiteral("Intel HEX|*.hex;*.ihx|All files (*.*)|*.*"));
  const MatchCase cases[] = {{"prog.hex", true, true},   {"PROG.HEX", true, true}, {"Prog.IhX", true, true},
                             {"prog.hex.bak", false, true}, {"README", false, true}, {"hex", false, true}};
  for (const MatchCase& c : cases) {
    EXPECT_EQ(Matches(filters[0], QString::fromLatin1(c.File)), c.Hex) << c.File;
    EXPECT_EQ(Matches(filters[1], QString::fromLatin1(c.File)), c.All) << c.File;
  }
}

TEST(FileDialogs, AnInstalledHandlerAnswersInsteadOfTheDialog) {
  SetFileDialogHandler([](TFileDialogRequest& request) {
    EXPECT_TRUE(request.Save);
    EXPECT_EQ(request.Title, QStringLiteral("Unassemble to file"));
    request.FileName = QStringLiteral("/tmp/out.asm");
    request.FilterIndex = 2;
    return true;
  });
  TFileDialogRequest request;
  request.Save = true;
  request.Title = QStringLiteral("Unassemble to file");
  EXPECT_TRUE(ExecuteFileDialog(nullptr, request));
  EXPECT_EQ(request.FileName, QStringLiteral("/tmp/out.asm"));
  EXPECT_EQ(request.FilterIndex, 2);
  SetFileDialogHandler(nullptr);
}

// The real dialog, driven from inside its event loop: the filter picked in its
// list comes back as its index.
TEST(FileDialogs, TheChosenFilterComesBackAsItsIndex) {
  for (int pick : {0, 2, 3}) {
    QTimer::singleShot(0, [pick] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->setCurrentIndex(pick);
      dialog->selectFile(QStringLiteral("/tmp/any.bin"));
      static_cast<QDialog*>(dialog)->accept();
    });
    TFileDialogRequest request;
    request.Filter = QStringLiteral("IAR (*.A?\?)|*.A?\?|Binary (*.BIN)|*.BIN|Mardyn (*.*)|*.*|Pellis (*.*)|*.*|");
    ASSERT_TRUE(ExecuteFileDialog(nullptr, request));
    EXPECT_EQ(request.FilterIndex, pick + 1);
  }
}

}  // namespace
