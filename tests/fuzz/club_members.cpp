// The club membership files over any bytes: the reader, the next number, the lookup of a
// callsign in both files and the writer. The first byte cuts the input into the MQC file, the
// I-QRP file and the callsign looked up.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/Clubs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t cut = input.size() * data[0] / 256;
  const std::string_view mqc = input.substr(0, cut);
  const std::string_view rest = input.substr(cut);
  const std::size_t call_at = rest.size() > 12 ? rest.size() - 12 : 0;
  const std::string_view iqrp = rest.substr(0, call_at);
  const std::string_view call = rest.substr(call_at);

  std::vector<keldra::Member> members = keldra::ParseMembers(iqrp);
  const long long next = keldra::NextMemberNumber(members);
  (void)keldra::LookUpClubCode(call, mqc, iqrp);
  (void)keldra::FindMember(members, keldra::MemberKey(call));
  for (const keldra::Member& m : members) {
    (void)keldra::PaddedNumber(m.number);
  }
  // What was read writes again and reads back as the same members.
  const std::string written = keldra::FormatMembers(members);
  if (keldra::FormatMembers(keldra::ParseMembers(written)) != written) {
    __builtin_trap();
  }
  // A new member never takes a number already given.
  for (const keldra::Member& m : members) {
    const std::string& n = m.number;
    if (n.empty() || n.size() > 15 || n.find_first_not_of("0123456789") != std::string::npos) {
      continue;
    }
    if (std::stoll(n) == next) {
      __builtin_trap();
    }
  }
  return 0;
}
