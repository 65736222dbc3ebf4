#include "data/Clubs.h"

#include <algorithm>

#include "core/Text.h"

namespace keldra {

const char* ClubFileName(Club club) { return club == Club::kIqrp ? "iqrp.txt" : "mqc.txt"; }

const char* ClubTitle(Club club) { return club == Club::kIqrp ? "I-QRP" : "MQC"; }

char ClubLetter(Club club) { return club == Club::kIqrp ? 'I' : 'M'; }

std::vector<Member> ParseMembers(std::string_view bytes) {
  std::vector<Member> members;
  for (const std::string& line : SplitLines(bytes)) {
    const std::size_t hash = line.find('#');
    if (hash == std::string::npos) {
      continue;
    }
    members.push_back({Trim(std::string_view(line).substr(0, hash)),
                       Trim(std::string_view(line).substr(hash + 1))});
  }
  return members;
}

std::string MemberLine(const Member& member) {
  return member.callsign + "#" + member.number + "\r\n";
}

std::string FormatMembers(const std::vector<Member>& members) {
  std::string bytes;
  for (const Member& member : members) {
    bytes += MemberLine(member);
  }
  return bytes;
}

std::string MemberKey(std::string_view callsign) {
  return std::string(callsign.substr(0, callsign.find('/')));
}

const Member* FindMember(const std::vector<Member>& members, std::string_view name) {
  const auto last = std::find_if(members.rbegin(), members.rend(),
                                 [name](const Member& m) { return m.callsign == name; });
  return last == members.rend() ? nullptr : &*last;
}

std::string PaddedNumber(std::string_view number) { return ZeroFill(number, 3); }

long long NextMemberNumber(const std::vector<Member>& members) {
  long long highest = 0;
  for (const Member& member : members) {
    // Only a plain run of digits is a number; anything else cannot collide with a new one.
    if (!IsAllDigits(member.number) || member.number.size() > 15) {
      continue;
    }
    highest = std::max(highest, std::stoll(member.number));
  }
  return highest + 1;
}

namespace {

// The code from one list's last valid entry for the key, if any.
std::optional<std::string> CodeIn(std::string_view bytes, const std::string& key, Club club) {
  std::optional<std::string> code;
  for (const Member& member : ParseMembers(bytes)) {
    if (member.callsign == key && IsAllDigits(member.number)) {
      code = ClubLetter(club) + PaddedNumber(member.number);
    }
  }
  return code;
}

std::string BytesOrNothing(const Files& files, const std::filesystem::path& path) {
  if (!files.Exists(path)) {
    return {};
  }
  ReadResult read = files.Read(path);
  return read.status ? std::move(read.bytes) : std::string();
}

}  // namespace

std::optional<std::string> LookUpClubCode(std::string_view callsign, std::string_view mqc_bytes,
                                          std::string_view iqrp_bytes) {
  const std::string key = MemberKey(Trim(callsign));
  if (key.empty()) {
    return std::nullopt;
  }
  std::optional<std::string> iqrp = CodeIn(iqrp_bytes, key, Club::kIqrp);
  return iqrp ? iqrp : CodeIn(mqc_bytes, key, Club::kMqc);
}

std::optional<std::string> LookUpClubCode(const Files& files, const std::filesystem::path& folder,
                                          std::string_view callsign) {
  return LookUpClubCode(callsign, BytesOrNothing(files, folder / ClubFileName(Club::kMqc)),
                        BytesOrNothing(files, folder / ClubFileName(Club::kIqrp)));
}

MemberFile ReadMemberFile(const Files& files, const std::filesystem::path& path) {
  MemberFile file;
  if (!files.Exists(path)) {
    return file;
  }
  file.exists = true;
  ReadResult read = files.Read(path);
  file.status = read.status;
  if (file.status) {
    file.members = ParseMembers(read.bytes);
  }
  return file;
}

IoStatus WriteMemberFile(Files& files, const std::filesystem::path& path,
                         const std::vector<Member>& members) {
  return files.Replace(path, FormatMembers(members));
}

}  // namespace keldra
