// The QSO announcement contest programs exchange on the network: one UDP datagram of XML, the
// "contactinfo" element as N1MM Logger+ broadcasts it, for every QSO logged or corrected. A chat
// client beside the logger (KST4Contest reads it) marks the station worked; a score board counts
// it. The element's names and forms are the broadcaster's: the timestamp "yyyy-mm-dd hh:mm:ss"
// UTC, the frequencies in tens of hertz, the band in MHz.
#pragma once

#include <optional>
#include <string>

#include "core/ContestLog.h"

namespace keldra {

struct ContactInfoStation {
  std::string call;                    // the station's own
  std::optional<double> frequency_hz;  // the rig's, when it is linked
};

// The datagram's text (UTF-8) for one QSO; its points are the QSO's: its km, twice with a club
// member.
std::string ContactInfoXml(const LoggedQso& qso, const ContactInfoStation& station);

}  // namespace keldra
