// Starts the logger: the command line, the contest folder, the services, the program's windows,
// and the Qt front end that draws them. Every file the program reads or writes is in the one
// contest folder chosen here (see system/ContestFolder.h).
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QStyle>
#include <algorithm>
#include <filesystem>
#include <iostream>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "qt/DrawingWidget.h"
#include "qt/QtBackground.h"
#include "qt/QtFrontEnd.h"
#include "qt/Widgets.h"
#include "radio/Keyer.h"
#include "radio/drivers/HamlibRadio.h"
#include "radio/drivers/StationPtt.h"
#include "ui/Program.h"

namespace {

std::vector<std::string> Arguments(int argc, char* argv[]) {
  return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

// `keldra --adif FILE.adi`: no window system at all, so it runs without a display. It only reads
// the contest folder, so it neither creates it nor takes its lock.
int RunAdif(int argc, char* argv[], const keldra::CommandLine& line) {
  QCoreApplication core(argc, argv);
  if (!line.error.empty()) {
    std::cerr << line.error << "\nPer l'aiuto: keldra --help\n";
    return 2;
  }
  return keldra::RunAdif(line, QCoreApplication::applicationDirPath().toStdString(), std::cout,
                         std::cerr);
}

}  // namespace

int main(int argc, char* argv[]) {
  // The options that do their work and exit run before any window system is touched, so they
  // work without a display.
  const keldra::CommandLine early = keldra::ParseCommandLine(Arguments(argc, argv));
  if (early.help || early.version) {
    std::cout << (early.help ? keldra::HelpText() : keldra::VersionText());
    return 0;
  }
  if (early.adif) {
    return RunAdif(argc, argv, early);
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName("Keldra VHF QRP Test");
  QApplication::setStyle("Fusion");
  QFont font("DejaVu Sans");
  font.setPointSize(9);
  QApplication::setFont(font);
  QApplication::setQuitOnLastWindowClosed(false);
  // The windows carry the menu entry's icon, and the desktop matches them to that entry.
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128}) {
    icon.addPixmap(QPixmap::fromImage(keldra::qt::ArtworkImage(keldra::Artwork::kLogo, size)));
  }
  QApplication::setWindowIcon(icon);
  QGuiApplication::setDesktopFileName("keldra");

  // Qt has taken its own options (-platform, -display …) out of argv by now.
  const keldra::CommandLine line = keldra::ParseCommandLine(Arguments(argc, argv));
  if (!line.error.empty()) {
    std::cerr << line.error << "\nPer l'aiuto: keldra --help\n";
    return 2;
  }

  keldra::qt::QtMessageBox messages;
  keldra::InstanceLock lock;
  const keldra::StartFolder start =
      keldra::TakeContestFolder(line, QCoreApplication::applicationDirPath().toStdString(), lock);
  if (!start.problem.empty()) {
    messages.Show(keldra::Cp1252(start.problem), keldra::kDefaultTitle,
                  keldra::MessageIcon::kCritical);
    return 1;
  }
  keldra::SystemClock clock;
  // The rig and the rotator outlive the program's windows, and the queue that carries their
  // readings outlives them.
  keldra::qt::QtEventQueue device_events;
  keldra::HamlibRadio radio(
      [&device_events](std::function<void()> job) { device_events.Post(std::move(job)); });
  // The voice messages key the transmitter through the rig, so they end before it: PTT is
  // released while the rig still listens.
  keldra::VoicePlayer voice(
      [&device_events](std::function<void()> job) { device_events.Post(std::move(job)); },
      keldra::StationPtt(radio));
  // The CW keyers post to the same queue; the running keyer lives in the main window.
  keldra::KeyerDrivers keyers(
      [&device_events](std::function<void()> job) { device_events.Post(std::move(job)); }, true);
  keldra::Program program(messages, clock, start.folder);
  // The chat's link hands what it reads to the windows through the same queue.
  program.SetPost(
      [&device_events](std::function<void()> job) { device_events.Post(std::move(job)); });
  program.SetVoice(&voice);
  program.SetKeyers(keyers);
  keldra::qt::QtFrontEnd front_end(program.Desktop());
  // Declared after the program, so it ends first: a history still being read is waited for while
  // the program's services still stand.
  keldra::qt::QtBackground background;
  keldra::qt::QtDrawingPainter painter;
  if (!keldra::StartProgram(program, radio, background, painter,
                            [] { QCoreApplication::quit(); })) {
    return 0;
  }
  return QApplication::exec();
}
