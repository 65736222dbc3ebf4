// Starts the logger: the services, the program's windows, and the Qt front end that draws them.
// The program folder is the folder that holds the executable: the contest, the station data, the
// club lists and the logs all live there.
#include <QApplication>
#include <QFont>
#include <QStyle>
#include <filesystem>

#include "platform/qt/QtFrontEnd.h"
#include "ui/Program.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Keldra VHF QRP Test");
  QApplication::setStyle("Fusion");
  QFont font("DejaVu Sans");
  font.setPointSize(9);
  QApplication::setFont(font);
  QApplication::setQuitOnLastWindowClosed(false);

  const std::filesystem::path folder =
      std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());

  keldra::qt::QtMessageBox messages;
  keldra::SystemClock clock;
  keldra::Program program(messages, clock, folder);
  keldra::qt::QtFrontEnd front_end(program.Desktop());
  program.OnEnd = [] { QCoreApplication::quit(); };
  program.Start();
  if (program.Ended()) return 0;
  return QApplication::exec();
}
