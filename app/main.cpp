// Starts the logger: the services, the program's windows, and the Qt front end that draws them.
// The program folder is the folder that holds the executable: the contest, the station data, the
// club lists and the logs all live there.
#include <QApplication>
#include <QFont>
#include <QStyle>
#include <filesystem>

#include "platform/InstanceLock.h"
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
  keldra::InstanceLock lock;
  if (lock.Acquire(folder) == keldra::InstanceLock::Outcome::kHeldByAnother) {
    // Two copies on one folder would overwrite each other's contest.
    messages.Show(keldra::U8("Keldra VHF qrp Test è già aperto sulla cartella " + folder.string() +
                             ".\nChiudere l'altra copia prima di avviarne una nuova."),
                  keldra::kDefaultTitle, keldra::MessageIcon::kCritical);
    return 1;
  }
  // Only this copy works in the folder now: what a crash left half-written can go.
  keldra::RemoveLeftoverTemporaries(folder);
  keldra::SystemClock clock;
  keldra::Program program(messages, clock, folder);
  keldra::qt::QtFrontEnd front_end(program.Desktop());
  program.OnEnd = [] { QCoreApplication::quit(); };
  program.Start();
  if (program.Ended()) {
    return 0;
  }
  return QApplication::exec();
}
