// "Crea EDI" of the EDI header window: checks the power against the category, assembles the log
// text in the buffer, hands text and proposed file name to the save window, then closes this
// window and shows the save window.
#include "export/Edi.h"

#include "ui/EdiHeaderWindow.h"
#include "ui/EdiSaveWindow.h"
#include "ui/MainWindow.h"

namespace keldra {

namespace {

EdiHeader HeaderOf(const EdiHeaderWindow& f, const ContestLog& log) {
  EdiHeader h;
  h.callsign = f.call.Text();
  h.locator = f.locator.Text();
  h.category = f.category.Text();
  h.date = f.date.Text();
  h.name = f.operator_name.Text();
  h.address = f.address.Text();
  h.postcode = f.postcode.Text();
  h.city = f.city.Text();
  h.country = f.country.Text();
  h.phone = f.phone.Text();
  h.email = f.email.Text();
  h.operators = f.operators.Text();
  h.club = f.club.Text();
  h.receiver = f.receiver.Text();
  h.transmitter = f.transmitter.Text();
  h.antennas = f.antennas.Text();
  h.power = f.power.Text();
  h.antenna_height = f.antenna_height.Text();
  h.altitude = f.altitude.Text();
  h.comments = f.comments.Text();
  h.records = log.EdiRecordsText();
  return h;
}

EdiTotals TotalsOf(const MainWindow& main) {
  EdiTotals t;
  static_cast<ContestTotals&>(t) = TotalsText(main.Log().Totals());
  t.entry_date = main.date.Text();
  t.iqrp_number = main.station_iqrp_number.Caption();
  t.mqc_number = main.station_mqc_number.Caption();
  return t;
}

}  // namespace

void EdiHeaderWindow::OnCreateEdiPressed() {
  if (const auto refusal = PowerRefusal(category.Text(), power.Text())) {
    program_.Message(*refusal);
    power.SetFocus();
    return;
  }
  const std::string edi =
      EdiLogText(HeaderOf(*this, program_.Contest()), TotalsOf(program_.Get<MainWindow>()));

  EdiSaveWindow& save = program_.Get<EdiSaveWindow>();
  if (const auto name = EdiFileName(category.Text(), call.Text())) {
    save.file_name.SetText(*name);
  }
  save.log_text.SetText(edi);

  Unload();
  save.Show();
}

}  // namespace keldra
