#include "ui/ChatRoster.h"

#include <algorithm>

#include "core/QsoDistance.h"
#include "core/Text.h"
#include "data/Clubs.h"

namespace keldra {
namespace {

std::unordered_map<std::string, std::string> CodesOf(std::string_view bytes, Club club) {
  std::unordered_map<std::string, std::string> codes;
  for (const Member& member : ParseMembers(bytes)) {
    if (IsAllDigits(member.number)) {
      codes[member.callsign] = ClubLetter(club) + PaddedNumber(member.number);
    }
  }
  return codes;
}

std::string Column(std::string_view text, std::size_t width) {
  std::string column(text.substr(0, width));
  column.resize(width, ' ');
  return column;
}

std::string RightColumn(std::string_view text, std::size_t width) {
  const std::string shown(Trim(text).substr(0, width));
  return std::string(width - shown.size(), ' ') + shown;
}

}  // namespace

ClubCodes::ClubCodes(std::string_view mqc_bytes, std::string_view iqrp_bytes)
    : iqrp_(CodesOf(iqrp_bytes, Club::kIqrp)), mqc_(CodesOf(mqc_bytes, Club::kMqc)) {}

std::optional<std::string> ClubCodes::Of(std::string_view callsign) const {
  const std::string key = MemberKey(Trim(callsign));
  if (auto it = iqrp_.find(key); it != iqrp_.end()) {
    return it->second;
  }
  if (auto it = mqc_.find(key); it != mqc_.end()) {
    return it->second;
  }
  return std::nullopt;
}

void WorkedCalls::ReadAll(const ContestLog& log) {
  calls_.clear();
  for (const ContestLog::Entry& entry : log.Entries()) {
    if (entry.qso) {
      calls_.insert(entry.qso->call);
    }
  }
}

void WorkedCalls::Follow(const ContestLog& log, const LogEvent& event) {
  if (event.change != LogChange::kLogged) {
    ReadAll(log);
    return;
  }
  for (std::size_t i = event.first; i < event.first + event.count && i < log.Entries().size();
       ++i) {
    if (const auto& qso = log.Entries()[i].qso) {
      calls_.insert(qso->call);
    }
  }
}

long long ChatPoints(std::optional<long long> km, bool club_member) {
  LoggedQso qso;
  qso.km = ScoredKm(km);
  qso.club_code = club_member ? "I" : "";
  return WithQso(LogTotals{}, qso).points;
}

ChatRow RowOf(const ChatUser& user, const PathCalculator& calculator, const WorkedCalls& worked,
              const ClubCodes& clubs) {
  ChatRow row;
  row.call = user.call;
  row.name = user.name;
  row.locator = user.locator;
  const CalculatedPath path = calculator.From(user.locator);
  row.qrb = path.distance;
  row.qtf = path.bearing;
  if (path.km) {
    row.bearing = LeadingNumber(path.bearing);
  }
  row.km = ScoredKm(path.km);
  row.worked = worked.Has(user.call);
  row.club = clubs.Of(user.call).value_or("");
  row.points = ChatPoints(path.km, !row.club.empty());
  return row;
}

std::string ChatRowHeading() {
  return Column("Call", 11) + Column("Nome", 15) + Column("Loc", 7) + RightColumn("QRB", 5) +
         RightColumn("QTF", 5) + "  " + Column("Lav", 4) + Column("Club", 5) +
         RightColumn("Punti", 6);
}

std::string ChatRowLine(const ChatRow& row) {
  const bool computed = row.bearing.has_value();
  return Column(row.call, 10) + " " + Column(row.name, 14) + " " + Column(row.locator, 6) + " " +
         RightColumn(computed ? row.qrb : "?", 5) + RightColumn(computed ? row.qtf : "?", 5) +
         "  " + Column(row.worked ? "si" : "", 4) + Column(row.club, 5) +
         RightColumn(PlainDecimal(row.points), 6);
}

const ChatUser* ChatRoster::Find(const std::string& call) const {
  auto it = index_.find(call);
  return it == index_.end() ? nullptr : &users_[it->second];
}

bool ChatRoster::Put(const ChatUser& user, bool replace_all_fields) {
  if (auto it = index_.find(user.call); it != index_.end()) {
    ChatUser& known = users_[it->second];
    const ChatUser before = known;
    if (replace_all_fields) {
      known = user;
    }
    return known != before;
  }
  if (users_.size() >= kMaxUsers) {
    ++dropped_;
    return false;
  }
  index_[user.call] = users_.size();
  users_.push_back(user);
  return true;
}

bool ChatRoster::Remove(const std::string& call) {
  auto it = index_.find(call);
  if (it == index_.end()) {
    return false;
  }
  // The last user takes the place of the one who left, so leaving costs no shift of the list.
  const std::size_t at = it->second;
  index_.erase(it);
  if (at + 1 != users_.size()) {
    users_[at] = std::move(users_.back());
    index_[users_[at].call] = at;
  }
  users_.pop_back();
  return true;
}

bool ChatRoster::Apply(const ChatFrame& frame, int room) {
  // LOC frames name no room: the locator is the user's in every room.
  if (frame.kind != ChatFrameKind::kUserLocator && frame.room != room) {
    return false;
  }
  switch (frame.kind) {
    case ChatFrameKind::kUserListed:
    case ChatFrameKind::kUserJoined:
    case ChatFrameKind::kUserChanged:
      return Put(frame.user, true);
    case ChatFrameKind::kUserLeft:
      return Remove(frame.user.call);
    case ChatFrameKind::kUserState:
    case ChatFrameKind::kUserLocator: {
      auto it = index_.find(frame.user.call);
      if (it == index_.end()) {
        return false;
      }
      ChatUser& known = users_[it->second];
      const ChatUser before = known;
      if (frame.kind == ChatFrameKind::kUserState) {
        known.state = frame.user.state;
      } else {
        known.locator = frame.user.locator;
      }
      return known != before;
    }
    default:
      return false;
  }
}

void ChatRoster::Clear() {
  users_.clear();
  index_.clear();
}

std::vector<ChatRow> ChatRows(const std::vector<ChatUser>& users, const PathCalculator& calculator,
                              const WorkedCalls& worked, const ClubCodes& clubs,
                              const ChatRowChoice& choice) {
  std::vector<ChatRow> rows;
  rows.reserve(users.size());
  for (const ChatUser& user : users) {
    if (user.call == choice.own_call || (choice.only_not_worked && worked.Has(user.call))) {
      continue;
    }
    rows.push_back(RowOf(user, calculator, worked, clubs));
  }
  std::sort(rows.begin(), rows.end(), [&choice](const ChatRow& a, const ChatRow& b) {
    if (choice.by_points && a.points != b.points) {
      return a.points > b.points;
    }
    return a.call < b.call;
  });
  return rows;
}

}  // namespace keldra
