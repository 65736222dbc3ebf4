// Who is on in the chat's room and what each would bring: the users as the server's frames leave
// them, and for each the row the chat window shows — call, name, locator, QRB and QTF from the
// station's locator (the program's calculator), whether the call is already in the log, the club
// code from iqrp.txt and mqc.txt, and the points a QSO would score by the contest's rule (the
// distance with the 1 km rule, twice with a club member). The list is bounded: users past the
// limit are counted, not kept.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/ContestLog.h"
#include "data/ChatProtocol.h"
#include "ui/Calculator.h"

namespace keldra {

// The club codes of both lists, looked up as the entry row looks them up (the I-QRP code before
// the MQC one, the last valid line of a list winning), built once for a whole user list.
class ClubCodes {
 public:
  ClubCodes() = default;
  ClubCodes(std::string_view mqc_bytes, std::string_view iqrp_bytes);
  std::optional<std::string> Of(std::string_view callsign) const;

 private:
  std::unordered_map<std::string, std::string> iqrp_;
  std::unordered_map<std::string, std::string> mqc_;
};

// The calls already in the log, by whole callsign as "OK" refuses a duplicate.
class WorkedCalls {
 public:
  // Follows the log: a new QSO is added, a correction or a load reads it again.
  void Follow(const ContestLog& log, const LogEvent& event);
  void ReadAll(const ContestLog& log);
  bool Has(const std::string& call) const { return calls_.contains(call); }

 private:
  std::unordered_set<std::string> calls_;
};

struct ChatRow {
  std::string call;
  std::string name;
  std::string locator;
  std::string qrb;  // as the calculator shows it (" 168", "??????")
  std::string qtf;
  std::optional<double> bearing;  // for the rotator; none when it could not be computed
  long long km = 0;               // scored: at least 1
  bool worked = false;
  std::string club;  // the code, or empty
  long long points = 0;
  friend bool operator==(const ChatRow&, const ChatRow&) = default;
};

// The points of a QSO with a station `km` away (none: not computed), a club member or not.
long long ChatPoints(std::optional<long long> km, bool club_member);

ChatRow RowOf(const ChatUser& user, const PathCalculator& calculator, const WorkedCalls& worked,
              const ClubCodes& clubs);

// The list's line for a row, in fixed-pitch columns, and the heading over them.
std::string ChatRowLine(const ChatRow& row);
std::string ChatRowHeading();

class ChatRoster {
 public:
  static constexpr std::size_t kMaxUsers = 5000;

  // Applies one frame of the room `room`; true when the users changed.
  bool Apply(const ChatFrame& frame, int room);
  void Clear();
  const std::vector<ChatUser>& Users() const { return users_; }
  const ChatUser* Find(const std::string& call) const;
  // Users the list had no room for.
  long long Dropped() const { return dropped_; }

 private:
  bool Put(const ChatUser& user, bool replace_all_fields);
  bool Remove(const std::string& call);

  std::vector<ChatUser> users_;
  std::unordered_map<std::string, std::size_t> index_;
  long long dropped_ = 0;
};

struct ChatRowChoice {
  std::string own_call;   // never listed: the station itself
  bool by_points = true;  // else by call
  bool only_not_worked = false;
};

// The rows to show: by points (then call) or by call, optionally only those not yet worked.
std::vector<ChatRow> ChatRows(const std::vector<ChatUser>& users, const PathCalculator& calculator,
                              const WorkedCalls& worked, const ClubCodes& clubs,
                              const ChatRowChoice& choice);

}  // namespace keldra
