// The main window's side of the ON4KST chat: the button that opens it, a user of the chat typed
// into the entry row, the antenna turned to a user, and every QSO announced to the station's
// other programs as a contactinfo datagram.
#include "core/RigAndRotator.h"
#include "core/Text.h"
#include "export/ContactInfo.h"
#include "system/CodePage.h"
#include "system/Datagram.h"
#include "ui/ChatWindow.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"

namespace keldra {

void MainWindow::LayoutChat() {
  // Under the known calls, above the buttons' row; the history's status keeps the room above.
  Place(history_status, 708, 566, 146, 44);
  Place(chat_button, 708, 614, 146, 32);
  chat_button.SetToolTip("Chi c'è nella chat ON4KST 144/432 MHz, con i punti di ciascuno");
  chat_button.Click = [this] { OnChatPressed(); };
}

void MainWindow::OnChatPressed() { program_.Get<ChatWindow>().Show(); }

bool MainWindow::TakeFromChat(const std::string& chat_call, const std::string& chat_locator) {
  if (!Trim(call.Text()).empty() || !Trim(serial_received.Text()).empty() ||
      !Trim(locator.Text()).empty()) {
    return false;
  }
  Show();
  Screen& screen = program_.Desktop();
  screen.SetFocus(&call);
  call.Type(chat_call);
  // The locator is typed without entering its field, which on-line takes the QSO's time: that
  // is the moment the operator reaches it after the serial.
  locator.Type(chat_locator);
  // Entering the serial looks the club code up, as moving on from the call does.
  screen.SetFocus(&serial_received);
  return true;
}

bool MainWindow::TurnAntennaTo(double bearing_degrees) {
  if (rotator_reading_.state != LinkState::kConnected) {
    return false;
  }
  program_.Devices().TurnTo(RotatorTarget(bearing_degrees, radio_settings_.antenna_offset, false));
  return true;
}

void MainWindow::StartAnnouncements() {
  const std::filesystem::path path = program_.File(kChatFileName);
  if (program_.Disk().Exists(path)) {
    const ReadResult read = program_.Disk().Read(path);
    if (read.status) {
      ApplyAnnouncements(ReadChatSettings(read.bytes).settings);
    }
  }
  announce_observer_ =
      program_.Contest().Observe([this](const LogEvent& event) { AnnounceChange(event); });
}

void MainWindow::StopAnnouncements() {
  if (announce_observer_ >= 0) {
    program_.Contest().Forget(announce_observer_);
    announce_observer_ = -1;
  }
  announcer_.reset();
}

void MainWindow::ApplyAnnouncements(const ChatSettings& settings) {
  announcer_.reset();
  if (!settings.announce) {
    return;
  }
  auto socket = std::make_shared<DatagramSocket>();
  if (socket->Open(settings.announce_host, settings.announce_port) != SocketFailure::kNone) {
    program_.Message(
        Cp1252("Gli annunci dei QSO non partiranno: indirizzo " + settings.announce_host + ":" +
               std::to_string(settings.announce_port) + " non raggiungibile."),
        MessageIcon::kCritical);
    return;
  }
  announcer_ = std::move(socket);
}

void MainWindow::AnnounceChange(const LogEvent& event) {
  // A loaded contest was announced when it was logged.
  if (!announcer_ || event.change == LogChange::kLoaded) {
    return;
  }
  const std::string own = Trim(station_call.Caption());
  ContactInfoStation station{own == "..." ? std::string() : own, std::nullopt};
  if (rig_reading_.state == LinkState::kConnected && rig_reading_.frequency_hz > 0) {
    station.frequency_hz = rig_reading_.frequency_hz;
  }
  const auto& entries = program_.Contest().Entries();
  for (std::size_t i = event.first; i < event.first + event.count && i < entries.size(); ++i) {
    if (entries[i].qso) {
      // A datagram that cannot leave is lost like one nobody hears; the log is not held up.
      announcer_->Send(ContactInfoXml(*entries[i].qso, station));
    }
  }
}

}  // namespace keldra
