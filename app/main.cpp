// Starts the logger: the services, the program's windows, and the Qt front end that draws them.
// The program folder is the folder that holds the executable: the contest, the station data, the
// club lists and the logs all live there.
#include <QApplication>
#include <QFont>
#include <QStyle>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "app/AdifCommand.h"
#include "platform/InstanceLock.h"
#include "platform/qt/QtBackground.h"
#include "platform/qt/QtFrontEnd.h"
#include "ui/Program.h"

namespace {

// What the command line offers; one line per option.
constexpr std::string_view kHelp =
    "Uso: keldra [opzione]\n"
    "Senza opzioni apre il registro del Keldra VHF QRP Test.\n"
    "  --adif FILE.adi  scrive in FILE.adi il log ADIF del contest in corso (parziale.db e\n"
    "                   config.txt della cartella del programma) ed esce, senza finestre\n"
    "  -h, --help       mostra questo elenco ed esce\n";

std::filesystem::path ProgramFolder() {
  return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

}  // namespace

int main(int argc, char* argv[]) {
  // The options that do their work and exit run before any window system is touched, so they
  // work without a display.
  const std::string_view option = argc > 1 ? argv[1] : "";
  if (option == "-h" || option == "--help") {
    std::cout << kHelp;
    return 0;
  }
  if (option == "--adif") {
    QCoreApplication core(argc, argv);
    if (argc > 3) {
      std::cerr << "Troppi argomenti: keldra --adif FILE.adi\n";
      return 2;
    }
    keldra::SystemClock clock;
    return keldra::RunAdifCommand(ProgramFolder(), argc > 2 ? argv[2] : "", clock, std::cout,
                                  std::cerr);
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName("Keldra VHF QRP Test");
  QApplication::setStyle("Fusion");
  QFont font("DejaVu Sans");
  font.setPointSize(9);
  QApplication::setFont(font);
  QApplication::setQuitOnLastWindowClosed(false);

  const std::filesystem::path folder = ProgramFolder();

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
  // Declared after the program, so it ends first: a history still being read is waited for while
  // the program's services still stand.
  keldra::qt::QtBackground background;
  program.SetBackground(background);
  program.OnEnd = [] { QCoreApplication::quit(); };
  program.Start();
  if (program.Ended()) return 0;
  return QApplication::exec();
}
