// The contactinfo datagram of one QSO, to the byte.
#include <gtest/gtest.h>

#include "export/ContactInfo.h"

namespace keldra {
namespace {

TEST(ContactInfoTest, QsoWithAClubMemberOnCw) {
  LoggedQso qso;
  qso.serial = 12;
  qso.date = "16/07/23";
  qso.time = "08.15";
  qso.mode = QsoMode::kCw;
  qso.call = "QX1A&B";
  qso.report_sent = "599";
  qso.report_received = "579";
  qso.serial_received = "007";
  qso.locator = "JN61FW";
  qso.club_code = "I003";
  qso.km = 251;
  const std::string xml = ContactInfoXml(qso, {"QX0ABC", 144300125.0});
  const char* expected[] = {
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<contactinfo>\n",
      "\t<timestamp>2023-07-16 08:15:00</timestamp>\n\t<mycall>QX0ABC</mycall>\n"
      "\t<band>144</band>\n\t<rxfreq>14430013</rxfreq>\n\t<txfreq>14430013</txfreq>\n",
      "\t<mode>CW</mode>\n\t<call>QX1A&amp;B</call>\n",
      "\t<snt>599</snt>\n\t<sntnr>12</sntnr>\n\t<rcv>579</rcv>\n\t<rcvnr>007</rcvnr>\n"
      "\t<gridsquare>JN61FW</gridsquare>\n\t<exchange1>I003</exchange1>\n",
      "\t<ismultiplier1>1</ismultiplier1>\n",
      "\t<points>502</points>\n",
      "\t<ID>keldra-12</ID>\n",
  };
  for (const char* part : expected) {
    EXPECT_NE(xml.find(part), std::string::npos) << part;
  }
  EXPECT_TRUE(xml.ends_with("</contactinfo>\n"));

  // SSB without a rig: upper side band, no frequency, the plain distance.
  qso.mode = QsoMode::kSsb;
  qso.club_code.clear();
  const std::string plain = ContactInfoXml(qso, {"QX0ABC", std::nullopt});
  for (const char* part : {"<mode>USB</mode>", "<rxfreq>0</rxfreq>", "<points>251</points>",
                           "<ismultiplier1>0</ismultiplier1>"}) {
    EXPECT_NE(plain.find(part), std::string::npos) << part;
  }
}

}  // namespace
}  // namespace keldra
