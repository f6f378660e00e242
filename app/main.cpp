#include <exception>

#include "Application.h"
#include "Configuration.h"
#include "Inputdialogs.h"
#include "MessageBox.h"
#include "MessageBoxes.h"
#include "srcMain.h"

// The engine lives from before the application until after its event loop;
// the windows still open go before it, so none outlives what it shows.
// The exit code is that of the quit request: 0 for a normal end, non-zero
// after a fatal error.
int main(int argc, char* argv[]) {
  int exitCode = 0;
  TheConfiguration = new TConfiguration;
  TApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Corvane 4"));
  InstallMessageBoxes();
  InstallInputQuery();
  TfrmMain* mainForm = nullptr;
  try {
    mainForm = new TfrmMain;
    mainForm->show();
    exitCode = QApplication::exec();
  } catch (const std::exception& error) {
    MessageBox(error.what(), "Corvane 4", MB_OK | MB_ICONSTOP);
    exitCode = 1;
  }
  EndProgram(mainForm);
  return exitCode;
}
