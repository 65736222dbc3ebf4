// The chat window ("Chat ON4KST"), opened from the main window: the link to the ON4KST chat's
// room (the server, the login, "ricorda" for the password, the room), the room's messages with
// time, call, name and text, the ones for the station (naming its call, or private) again in a
// list of their own, a line to write to the room or to one station, and the users of the room
// with what a QSO with each would bring. A double click or Enter on a user puts the call and the
// locator into the main window's entry row as if typed there; Ctrl+R turns the rotator to the
// user. The QSO announcements to other programs are set here too.
//
// The link runs on its own thread (ChatLink); its frames and states arrive here as events on the
// user-interface thread. Closing the window hides it and keeps the link; the program's end
// closes the link.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/ChatSettings.h"
#include "ui/ChatLink.h"
#include "ui/ChatRoster.h"
#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Label.h"
#include "widgets/Lists.h"
#include "widgets/TextBox.h"

namespace keldra {

class ChatWindow : public Form {
 public:
  explicit ChatWindow(Program& program);
  ~ChatWindow() override;

  Label host_caption{*this, "ChatHostCaption", "Server"};
  TextBox host{*this, "ChatHost"};
  Label port_caption{*this, "ChatPortCaption", "Porta"};
  TextBox port{*this, "ChatPort"};
  Label call_caption{*this, "ChatCallCaption", "Nominativo"};
  TextBox call{*this, "ChatCall"};
  Label password_caption{*this, "ChatPasswordCaption", "Password"};
  TextBox password{*this, "ChatPassword"};
  CheckBox remember{*this, "ChatRemember", "ricorda"};
  Label room_caption{*this, "ChatRoomCaption", "Stanza"};
  ComboBox room{*this, "ChatRoom"};
  CommandButton connect_button{*this, "ChatConnect", "Connetti"};
  CommandButton disconnect_button{*this, "ChatDisconnect", "Disconnetti"};
  Label state{*this, "ChatState", "Non connesso"};

  Label messages_caption{*this, "ChatMessagesCaption", "Messaggi della stanza"};
  TextBox messages{*this, "ChatMessages"};
  Label mine_caption{*this, "ChatMineCaption", "Per me (privati e con il mio nominativo)"};
  TextBox mine{*this, "ChatMine"};
  Label to_caption{*this, "ChatToCaption", "A (vuoto: tutti)"};
  TextBox to{*this, "ChatTo"};
  TextBox say{*this, "ChatSay"};
  CommandButton send_button{*this, "ChatSend", "Invia"};

  Label users_caption{*this, "ChatUsersCaption", "Utenti"};
  Label users_heading{*this, "ChatUsersHeading"};
  ListBox users{*this, "ChatUsers"};
  CheckBox only_not_worked{*this, "ChatOnlyNotWorked", "Solo non lavorati"};
  CheckBox by_call{*this, "ChatByCall", "Ordina per nominativo"};
  CommandButton take_button{*this, "ChatTake", "Al log"};
  CommandButton turn_button{*this, "ChatTurn", "Ruota"};

  CheckBox announce{*this, "ChatAnnounce", "Annuncia i QSO ad altri programmi (UDP)"};
  TextBox announce_address{*this, "ChatAnnounceAddress"};
  CommandButton close_button{*this, "ChatClose", "Chiudi"};

  void OnConnectPressed();
  void OnDisconnectPressed();
  void OnSendPressed();
  // The chosen user into the main window's entry row; false when the row is in use.
  bool OnTakePressed();
  // A user into the entry row as if typed there (the list, "Al log", a click on the map); false,
  // and said in the state line, when the row is in use.
  bool Take(const ChatRow& row);
  // The rotator to the chosen user's QTF.
  void OnTurnPressed();
  void OnAnnounceChanged();

  // The link's events (the tests feed them too).
  void OnStatus(const ChatLinkStatus& status);
  void OnFrames(std::vector<ChatFrame>&& frames);
  // The user list again: QRB, QTF, worked, club and points of every user.
  void Refill();

  const ChatRoster& Roster() const { return roster_; }
  const std::vector<ChatRow>& Rows() const { return rows_; }
  const ChatSettings& Settings() const { return settings_; }
  // The timing of the links made from now on (the tests' short pauses).
  void SetTiming(const ChatTiming& timing) { timing_ = timing; }
  bool Linked() const { return link_ != nullptr; }

  void CloseRequested() override { Hide(); }

 protected:
  void OnLoad() override;
  void OnUnload() override;
  void OnResize() override;

 private:
  void Layout();
  void Wire();
  void ReadSettings();
  // Takes the fields into settings_ and writes chat.txt; false when a field cannot be used.
  bool SaveSettings();
  // The window's size and place into settings_, to be found again at the next start.
  void KeepPlace();
  void ShowMessage(const ChatMessage& message);
  void AppendLine(TextBox& box, std::size_t& lines, const std::string& line);
  std::string OwnCall() const;
  void OnUsersKeyDown(int key_code, KeyModifiers modifiers, bool& handled);

  Program& program_;
  ChatSettings settings_;
  ChatTiming timing_;
  std::unique_ptr<ChatLink> link_;
  int linked_room_ = kDefaultChatRoom;
  ChatRoster roster_;
  std::vector<ChatRow> rows_;
  WorkedCalls worked_;
  ClubCodes clubs_;
  int log_observer_ = -1;
  std::size_t message_lines_ = 0;
  std::size_t mine_lines_ = 0;
  bool filling_ = false;
};

}  // namespace keldra
