#include "export/Report.h"

namespace keldra {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

class ReportText {
 public:
  ReportText& Line(std::string_view text = {}) {
    text_ += text;
    text_ += kLineEnd;
    return *this;
  }
  ReportText& Blank(int count) {
    for (int i = 0; i < count; ++i) {
      Line();
    }
    return *this;
  }
  // A section: its heading, a blank line, the shown text ended by one more line end, and the two
  // blank lines that separate it from the next.
  ReportText& Section(std::string_view heading, std::string_view shown) {
    return Line(heading).Line().Line(shown).Blank(2);
  }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

}  // namespace

std::string BuildReport(const Statistics& shown, std::string_view date) {
  ReportText report;
  const std::string rule(40, '-');
  report.Line(std::string(47, '#'))
      .Line("######### STATISTICHE CONTEST KELDRA QRP  #####")
      .Line(std::string(20, '#') + std::string(date) + std::string(17, '#'))
      .Blank(3)
      .Line(rule)
      .Line("                   TOP DX               ")
      .Line(rule)
      .Blank(1)
      .Line("QRB     Call      SQR")
      .Blank(1);
  for (const std::string& entry : shown.ranking) {
    report.Line(entry);
  }
  report.Blank(2)
      .Section("####  DXCC  LAVORATI  ######", shown.countries)
      .Section("####  SQR   LAVORATI  ######", shown.squares)
      .Section("####  QSO per ORA  ######", shown.per_hour)
      .Section("####  QSO per QTF     ######", shown.per_sector)
      .Section("####  MAPPA dei QSO   ######", shown.map)
      .Line("---- Keldra qrp Test - by QX0ZZA ----");
  return report.Take();
}

}  // namespace keldra
