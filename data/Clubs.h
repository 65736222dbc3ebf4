// The membership lists of the two QRP clubs, I-QRP (iqrp.txt) and MQC (mqc.txt), and the club
// code looked up from them. A list is plain Windows-1252 text, one member per line,
// "callsign#number" with CR LF (a bare LF is read too). A line without "#" (an empty one
// included) is no member: it is skipped when reading and therefore never written back.
//
// A club code is the club letter and the membership number zero-filled to three characters
// (I007, M123). The lookup reads mqc.txt first and then iqrp.txt, every line of both, so a
// callsign listed in both clubs ends with its I-QRP code and, within one file, the last line wins.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "system/Files.h"

namespace keldra {

enum class Club { kIqrp, kMqc };

// "iqrp.txt" or "mqc.txt", in the program folder.
const char* ClubFileName(Club club);
// "I-QRP" or "MQC", as the windows name the club.
const char* ClubTitle(Club club);
// 'I' or 'M', the first character of the club code.
char ClubLetter(Club club);

struct Member {
  std::string callsign;  // the text before the first "#", blanks trimmed
  std::string number;    // the text after it, blanks trimmed, as the file holds it
  friend bool operator==(const Member&, const Member&) = default;
};

// The members of a list file, in file order; lines without "#" are skipped.
std::vector<Member> ParseMembers(std::string_view bytes);
// One member as the file holds it: "callsign#number" and CR LF.
std::string MemberLine(const Member& member);
// The whole file: every member's line, nothing after the last one.
std::string FormatMembers(const std::vector<Member>& members);

// The name a callsign is listed under: the text before its first "/" (QX1AB/P gives QX1AB).
std::string MemberKey(std::string_view callsign);
// The last member listed under exactly this name (case-sensitive), or null.
const Member* FindMember(const std::vector<Member>& members, std::string_view name);
// The membership number zero-filled to three characters ("7" gives "007", "1234" stays).
std::string PaddedNumber(std::string_view number);
// One more than the highest membership number in the list (1 for an empty list), so a list
// with gaps or numbers given elsewhere never hands out a number already taken.
long long NextMemberNumber(const std::vector<Member>& members);

// The club code for a callsign (blanks around it ignored) from the two files' bytes (empty for a
// missing file): "M" and the number from mqc.txt, then "I" and the number from iqrp.txt, the later
// match winning. A member whose number is not a plain run of digits gives no code. Nothing when not
// listed.
std::optional<std::string> LookUpClubCode(std::string_view callsign, std::string_view mqc_bytes,
                                          std::string_view iqrp_bytes);
// The same, reading mqc.txt and iqrp.txt from the program folder; a missing or unreadable file
// lists nobody (the management window reports an unreadable one).
std::optional<std::string> LookUpClubCode(const Files& files, const std::filesystem::path& folder,
                                          std::string_view callsign);

// A list file as read: ok with its members (none when the file does not exist), or the failure.
struct MemberFile {
  IoStatus status;
  bool exists = false;
  std::vector<Member> members;
};
MemberFile ReadMemberFile(const Files& files, const std::filesystem::path& path);
// Replaces the file atomically with the members' lines.
IoStatus WriteMemberFile(Files& files, const std::filesystem::path& path,
                         const std::vector<Member>& members);

}  // namespace keldra
