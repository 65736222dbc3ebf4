#include "ui/ChatWindow.h"

#include <algorithm>

#include "core/Text.h"
#include "data/Clubs.h"
#include "system/CodePage.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"
#include "ui/MapWindow.h"

namespace keldra {
namespace {

// The message lists keep the newest lines; past the limit the oldest half goes at once, so the
// trimming is rare and an appended line costs only its own length.
constexpr std::size_t kMaxMessageLines = 1000;

constexpr Color kOnline{0, 128, 0};
constexpr Color kTrouble{200, 0, 0};
constexpr Color kNeutral{60, 60, 60};

std::string Upper(std::string_view text) { return ToUpper1252(Trim(text)); }

std::optional<int> PortOf(std::string_view text) { return WholeNumber(Trim(text), 1, 65535); }

bool IsWordByte(char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '/';
}

// Whether the text names the call as a word of its own (QX1AB in "qx1ab pse 144.300", not in
// "QX1ABC").
bool Names(std::string_view text, const std::string& call) {
  if (call.empty()) {
    return false;
  }
  const std::string upper = ToUpper1252(text);
  for (std::size_t at = upper.find(call); at != std::string::npos; at = upper.find(call, at + 1)) {
    const bool starts = at == 0 || !IsWordByte(upper[at - 1]);
    const std::size_t end = at + call.size();
    if (starts && (end == upper.size() || !IsWordByte(upper[end]))) {
      return true;
    }
  }
  return false;
}

const char* RoomName(int number) {
  for (const ChatRoom& room : kChatRooms) {
    if (room.number == number) {
      return room.name;
    }
  }
  return "?";
}

}  // namespace

ChatWindow::ChatWindow(Program& program)
    : Form(program.Desktop(), "ChatWindow", "Chat ON4KST", Px(1060), Px(680)), program_(program) {
  SetResizable(Px(860), Px(520));
  password.SetPassword(true);
  for (TextBox* box : {&messages, &mine}) {
    box->SetMultiLine(true);
    box->SetLocked(true);
    box->SetFont({.points = 9, .fixed_pitch = true});
  }
  users.SetFont({.points = 9, .fixed_pitch = true});
  users_heading.SetFont({.bold = true, .points = 9, .fixed_pitch = true});
  users_heading.SetCaption(ChatRowHeading());
  for (const ChatRoom& r : kChatRooms) {
    room.AddItem(std::to_string(r.number) + " - " + r.name);
  }
  host.SetToolTip("Server della chat (predefinito www.on4kst.info)");
  port.SetToolTip("Porta dell'interfaccia a frame del server (23001)");
  password.SetToolTip(
      "La password della chat; con \"ricorda\" resta nel file chat.txt, leggibile solo da voi");
  to.SetToolTip("Nominativo per un messaggio privato; vuoto per scrivere a tutta la stanza");
  users.SetToolTip(
      "Doppio clic o Invio: nominativo e locatore nella riga del log. Ctrl+R: ruota l'antenna");
  announce_address.SetToolTip("host:porta che riceve i QSO (es. 127.0.0.1:12060)");
  Wire();
  Layout();
}

ChatWindow::~ChatWindow() = default;

void ChatWindow::Wire() {
  connect_button.Click = [this] { OnConnectPressed(); };
  disconnect_button.Click = [this] { OnDisconnectPressed(); };
  send_button.Click = [this] { OnSendPressed(); };
  take_button.Click = [this] { OnTakePressed(); };
  turn_button.Click = [this] { OnTurnPressed(); };
  close_button.Click = [this] { CloseRequested(); };
  only_not_worked.Click = [this] { Refill(); };
  by_call.Click = [this] { Refill(); };
  announce.Click = [this] { OnAnnounceChanged(); };
  users.DblClick = [this] { OnTakePressed(); };
  users.KeyDown = [this](int key_code, KeyModifiers modifiers, bool& handled) {
    OnUsersKeyDown(key_code, modifiers, handled);
  };
  say.KeyDown = [this](int key_code, KeyModifiers, bool& handled) {
    if (key_code == key::kEnter) {
      handled = true;
      OnSendPressed();
    }
  };
}

void ChatWindow::Layout() {
  const int width = Width() / kTwipsPerPixel;
  const int height = Height() / kTwipsPerPixel;
  // The login row.
  Place(host_caption, 8, 10, 44, 20);
  Place(host, 54, 8, 150, 24);
  Place(port_caption, 210, 10, 36, 20);
  Place(port, 248, 8, 56, 24);
  Place(call_caption, 312, 10, 70, 20);
  Place(call, 384, 8, 90, 24);
  Place(password_caption, 482, 10, 62, 20);
  Place(password, 546, 8, 110, 24);
  Place(remember, 662, 8, 76, 24);
  Place(room_caption, 742, 10, 46, 20);
  Place(room, 790, 8, 170, 24);
  Place(connect_button, 8, 38, 100, 28);
  Place(disconnect_button, 114, 38, 100, 28);
  Place(state, 222, 42, width - 230, 22);
  state.SetFont({.bold = true});

  // The messages on the left, the users on the right.
  const int users_width = std::max(430, width * 45 / 100);
  const int left_width = width - users_width - 24;
  const int bottom = height - 82;  // the writing line and the announcements below
  const int mine_height = std::max(80, (bottom - 96) / 3);
  const int messages_height = bottom - 96 - mine_height - 24;
  Place(messages_caption, 8, 74, left_width, 18);
  Place(messages, 8, 94, left_width, messages_height);
  Place(mine_caption, 8, 98 + messages_height, left_width, 18);
  Place(mine, 8, 118 + messages_height, left_width, mine_height);
  const int users_x = left_width + 16;
  Place(users_caption, users_x, 74, users_width - 8, 18);
  Place(users_heading, users_x + 3, 94, users_width - 11, 18);  // over the list's text
  Place(users, users_x, 112, users_width - 8, bottom - 148);
  Place(only_not_worked, users_x, bottom - 30, 140, 24);
  Place(by_call, users_x + 144, bottom - 30, 170, 24);
  Place(take_button, width - 172, bottom - 32, 76, 28);
  Place(turn_button, width - 90, bottom - 32, 76, 28);
  for (Label* caption : {&messages_caption, &mine_caption, &users_caption}) {
    caption->SetFont({.bold = true});
  }

  // The writing line, then the announcements and "Chiudi".
  Place(to_caption, 8, bottom + 8, 110, 20);
  Place(to, 120, bottom + 6, 90, 24);
  Place(say, 216, bottom + 6, width - 216 - 96, 24);
  Place(send_button, width - 88, bottom + 4, 76, 28);
  Place(announce, 8, bottom + 42, 300, 24);
  Place(announce_address, 312, bottom + 42, 150, 24);
  Place(close_button, width - 88, bottom + 40, 76, 28);
}

void ChatWindow::OnResize() { Layout(); }

void ChatWindow::OnLoad() {
  ReadSettings();
  host.SetText(settings_.host);
  port.SetText(std::to_string(settings_.port));
  call.SetText(settings_.call.empty() ? OwnCall() : settings_.call);
  password.SetText(settings_.password);
  remember.SetValue(settings_.remember ? 1 : 0);
  for (std::size_t i = 0; i < std::size(kChatRooms); ++i) {
    if (kChatRooms[i].number == settings_.room) {
      room.SetListIndex(static_cast<int>(i));
    }
  }
  announce_address.SetText(settings_.announce_host + ":" + std::to_string(settings_.announce_port));
  filling_ = true;  // the tick shown is the one read, not a change to save
  announce.SetValue(settings_.announce ? 1 : 0);
  filling_ = false;
  if (settings_.width > 0 && settings_.height > 0) {
    UserResize(std::max(settings_.width, MinimumWidth()),
               std::max(settings_.height, MinimumHeight()));
  }
  if (settings_.left && settings_.top) {
    MoveTo({*settings_.left, *settings_.top});
  }
  disconnect_button.SetEnabled(false);
  const std::filesystem::path folder = program_.Folder();
  std::string mqc;
  std::string iqrp;
  for (auto [club, bytes] : {std::pair{Club::kMqc, &mqc}, std::pair{Club::kIqrp, &iqrp}}) {
    const MemberFile file = ReadMemberFile(program_.Disk(), folder / ClubFileName(club));
    *bytes = FormatMembers(file.members);
  }
  clubs_ = ClubCodes(mqc, iqrp);
  worked_.ReadAll(program_.Contest());
  log_observer_ = program_.Contest().Observe([this](const LogEvent& event) {
    worked_.Follow(program_.Contest(), event);
    Refill();
  });
  Refill();
}

void ChatWindow::OnUnload() {
  link_.reset();
  if (log_observer_ >= 0) {
    program_.Contest().Forget(log_observer_);
  }
  rows_.clear();
  if (MapWindow* map = program_.Find<MapWindow>()) {
    map->FollowChat();
  }
  KeepPlace();
  // Only the size and the place change here; what the fields hold was kept when it was used.
  const IoStatus written =
      program_.Disk().ReplaceOwnerOnly(program_.File(kChatFileName), ChatSettingsText(settings_));
  if (!written) {
    program_.Message(
        Cp1252("La posizione e la dimensione della finestra della chat non sono state salvate.\n" +
               written.Describe()),
        MessageIcon::kCritical);
  }
}

void ChatWindow::ReadSettings() {
  const std::filesystem::path path = program_.File(kChatFileName);
  if (!program_.Disk().Exists(path)) {
    return;
  }
  const ReadResult read = program_.Disk().Read(path);
  if (!read.status) {
    program_.Message(
        Cp1252("Le impostazioni della chat non sono state lette.\n" + read.status.Describe()),
        MessageIcon::kCritical);
    return;
  }
  const ChatSettingsRead settings = ReadChatSettings(read.bytes);
  if (settings.skipped_lines > 0) {
    program_.Message(
        "chat.txt: righe non valide ignorate: " + std::to_string(settings.skipped_lines) + ".");
  }
  settings_ = settings.settings;
}

void ChatWindow::KeepPlace() {
  settings_.width = Width();
  settings_.height = Height();
  if (Position()) {
    settings_.left = Position()->left;
    settings_.top = Position()->top;
  }
}

bool ChatWindow::SaveSettings() {
  const std::optional<int> chat_port = PortOf(port.Text());
  if (!chat_port) {
    program_.Message("La porta del server deve essere un numero da 1 a 65535.");
    return false;
  }
  const std::string address = Trim(announce_address.Text());
  const std::size_t colon = address.rfind(':');
  const std::optional<int> announce_port =
      colon == std::string::npos ? std::nullopt : PortOf(address.substr(colon + 1));
  if (!announce_port || colon == 0) {
    program_.Message(
        "Indirizzo per gli annunci dei QSO non valido: scrivere host:porta "
        "(es. 127.0.0.1:12060).");
    return false;
  }
  settings_.host = Trim(host.Text());
  settings_.port = *chat_port;
  settings_.call = Upper(call.Text());
  settings_.remember = remember.Value() != 0;
  settings_.password = password.Text();
  const int chosen = room.ListIndex();
  settings_.room = chosen >= 0 ? kChatRooms[chosen].number : kDefaultChatRoom;
  settings_.announce = announce.Value() != 0;
  settings_.announce_host = address.substr(0, colon);
  settings_.announce_port = *announce_port;
  KeepPlace();
  const IoStatus written =
      program_.Disk().ReplaceOwnerOnly(program_.File(kChatFileName), ChatSettingsText(settings_));
  if (!written) {
    program_.Message(
        Cp1252("Le impostazioni della chat non sono state salvate.\n" + written.Describe()),
        MessageIcon::kCritical);
  }
  return true;
}

std::string ChatWindow::OwnCall() const {
  std::string typed = Upper(call.Text());
  if (!typed.empty()) {
    return typed;
  }
  if (auto* main = const_cast<Program&>(program_).Find<MainWindow>()) {
    const std::string station = Upper(main->station_call.Caption());
    return station == "..." ? std::string() : station;
  }
  return {};
}

void ChatWindow::OnConnectPressed() {
  if (!SaveSettings()) {
    return;
  }
  if (settings_.call.empty() || settings_.password.empty() || settings_.host.empty()) {
    program_.Message("Per collegarsi alla chat servono server, nominativo e password.");
    return;
  }
  if (!program_.Post()) {
    state.SetCaption("Chat non disponibile in questa versione");
    return;
  }
  link_.reset();
  roster_.Clear();
  linked_room_ = settings_.room;
  ChatLogin login{settings_.host,     settings_.port, settings_.call,
                  settings_.password, settings_.room, program_.Calculator().OwnLocator()};
  ChatLinkEvents events{[this](const ChatLinkStatus& status) { OnStatus(status); },
                        [this](std::vector<ChatFrame>&& frames) { OnFrames(std::move(frames)); }};
  link_ = std::make_unique<ChatLink>(program_.Post(), std::move(login), timing_, std::move(events));
  disconnect_button.SetEnabled(true);
  Refill();
}

void ChatWindow::OnDisconnectPressed() {
  link_.reset();
  roster_.Clear();
  state.SetCaption("Non connesso");
  state.SetForeColor(kNeutral);
  disconnect_button.SetEnabled(false);
  Refill();
}

void ChatWindow::OnStatus(const ChatLinkStatus& status) {
  std::string text;
  Color color = kNeutral;
  switch (status.state) {
    case ChatLinkState::kConnecting:
      text = "Connessione a " + settings_.host + ":" + std::to_string(settings_.port) + "...";
      break;
    case ChatLinkState::kLoggingIn:
      text = "Accesso come " + settings_.call + "...";
      break;
    case ChatLinkState::kOnline:
      text = std::string("In linea nella stanza ") + RoomName(linked_room_);
      color = kOnline;
      break;
    case ChatLinkState::kWaiting:
      text = "Collegamento perso (" + status.why + "): nuovo tentativo tra " +
             std::to_string(status.retry_seconds) + " s";
      color = kTrouble;
      roster_.Clear();
      Refill();
      break;
    case ChatLinkState::kRefused:
      text = "Accesso rifiutato: " + status.why +
             ". Correggere nominativo e password, poi premere \"Connetti\".";
      color = kTrouble;
      program_.Message(Cp1252("La chat ha rifiutato l'accesso: " + status.why + "."),
                       MessageIcon::kCritical);
      break;
  }
  const long long skipped = status.counts.malformed + status.counts.too_long;
  if (skipped > 0) {
    text += " - righe non valide scartate: " + std::to_string(skipped);
  }
  state.SetCaption(Cp1252(text));
  state.SetForeColor(color);
}

void ChatWindow::OnFrames(std::vector<ChatFrame>&& frames) {
  bool users_changed = false;
  for (const ChatFrame& frame : frames) {
    if (frame.kind == ChatFrameKind::kMessage) {
      if (frame.message.room == linked_room_) {
        ShowMessage(frame.message);
      }
      continue;
    }
    users_changed = roster_.Apply(frame, linked_room_) || users_changed;
  }
  if (users_changed) {
    Refill();
  }
}

void ChatWindow::AppendLine(TextBox& box, std::size_t& lines, const std::string& line) {
  if (lines >= kMaxMessageLines) {
    const std::string& text = box.Text();
    std::size_t cut = 0;
    for (std::size_t i = 0; i < kMaxMessageLines / 2 && cut != std::string::npos; ++i) {
      cut = text.find("\r\n", cut);
      cut = cut == std::string::npos ? cut : cut + 2;
    }
    box.SetText(cut == std::string::npos ? std::string() : text.substr(cut));
    lines -= kMaxMessageLines / 2;
  }
  box.AppendText(line + "\r\n");
  ++lines;
}

void ChatWindow::ShowMessage(const ChatMessage& message) {
  std::string time = message.time ? ChatTimeText(*message.time) : FormatTime(program_.Time().Utc());
  std::replace(time.begin(), time.end(), '.', ':');
  const std::string own = OwnCall();
  const bool for_me =
      message.to == own || (message.call == own && !message.to.empty()) || Names(message.text, own);
  std::string caller = message.call;
  caller.resize(std::max<std::size_t>(caller.size(), 10), ' ');
  const std::string line = time + (for_me ? " * " : "   ") + caller + " " + message.name + "> " +
                           (message.to.empty() ? "" : "(a " + message.to + ") ") + message.text;
  AppendLine(messages, message_lines_, line);
  if (for_me) {
    AppendLine(mine, mine_lines_, line);
  }
}

void ChatWindow::Refill() {
  std::string chosen;
  if (const int index = users.ListIndex(); index >= 0 && index < static_cast<int>(rows_.size())) {
    chosen = rows_[static_cast<std::size_t>(index)].call;
  }
  rows_ = ChatRows(roster_.Users(), program_.Calculator(), worked_, clubs_,
                   {OwnCall(), by_call.Value() == 0, only_not_worked.Value() != 0});
  std::vector<std::string> lines;
  lines.reserve(rows_.size());
  int keep = -1;
  long long not_worked = 0;
  for (const ChatRow& row : rows_) {
    if (row.call == chosen) {
      keep = static_cast<int>(lines.size());
    }
    not_worked += row.worked ? 0 : 1;
    lines.push_back(ChatRowLine(row));
  }
  users.SetItems(std::move(lines), keep);
  users_caption.SetCaption("Utenti: " + std::to_string(rows_.size()) +
                           " (non lavorati: " + std::to_string(not_worked) + ")");
  if (MapWindow* map = program_.Find<MapWindow>()) {
    map->FollowChat();
  }
}

bool ChatWindow::OnTakePressed() {
  const int index = users.ListIndex();
  if (index < 0 || index >= static_cast<int>(rows_.size())) {
    return false;
  }
  return Take(rows_[static_cast<std::size_t>(index)]);
}

bool ChatWindow::Take(const ChatRow& row) {
  MainWindow& main = program_.Get<MainWindow>();
  if (!main.TakeFromChat(row.call, row.locator)) {
    state.SetCaption(
        Cp1252("La riga del log è in uso: completare o svuotare il QSO in corso, "
               "poi riprovare."));
    state.SetForeColor(kTrouble);
    return false;
  }
  return true;
}

void ChatWindow::OnTurnPressed() {
  const int index = users.ListIndex();
  if (index < 0 || index >= static_cast<int>(rows_.size())) {
    return;
  }
  const ChatRow& row = rows_[static_cast<std::size_t>(index)];
  if (!row.bearing || !program_.Get<MainWindow>().TurnAntennaTo(*row.bearing)) {
    state.SetCaption(row.bearing ? "Rotore non collegato" : "QTF sconosciuto per " + row.call);
    state.SetForeColor(kTrouble);
  }
}

void ChatWindow::OnUsersKeyDown(int key_code, KeyModifiers modifiers, bool& handled) {
  if (key_code == key::kEnter && !modifiers.control && !modifiers.alt) {
    handled = true;
    OnTakePressed();
  } else if (key_code == 'R' && modifiers.control && !modifiers.alt && !modifiers.shift) {
    handled = true;
    OnTurnPressed();
  }
}

void ChatWindow::OnSendPressed() {
  const std::string text = Trim(say.Text());
  if (text.empty()) {
    return;
  }
  if (!link_) {
    state.SetCaption("Non connesso: premere \"Connetti\"");
    return;
  }
  const std::string target = Upper(to.Text());
  link_->Send(target.empty() ? RoomMessageFrame(linked_room_, text)
                             : PrivateMessageFrame(linked_room_, target, text));
  say.SetText("");
}

void ChatWindow::OnAnnounceChanged() {
  if (filling_ || !SaveSettings()) {
    return;
  }
  program_.Get<MainWindow>().ApplyAnnouncements(settings_);
}

}  // namespace keldra
