// "Crea EDI" of the EDI header window: checks the power against the category, assembles the log
// text in the buffer, hands text and proposed file name to the save window, then closes this
// window and shows the save window.
#include "export/Edi.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form4.h"

namespace keldra {

namespace {

EdiHeader HeaderOf(const Form2& f) {
  EdiHeader h;
  h.callsign = f.Text2.Text();
  h.locator = f.Text3.Text();
  h.category = f.Combo1.Text();
  h.date = f.Text6.Text();
  h.name = f.Text7.Text();
  h.address = f.Text8.Text();
  h.postcode = f.Text9.Text();
  h.city = f.Text10.Text();
  h.country = f.Text11.Text();
  h.phone = f.Text12.Text();
  h.email = f.Text13.Text();
  h.operators = f.Text14.Text();
  h.club = f.Text15.Text();
  h.receiver = f.Text16.Text();
  h.transmitter = f.Text17.Text();
  h.antennas = f.Text18.Text();
  h.power = f.Text19.Text();
  h.antenna_height = f.Text20.Text();
  h.altitude = f.Text21.Text();
  h.comments = f.Text22.Text();
  h.records = f.Text1.Text();
  return h;
}

EdiTotals TotalsOf(const Form1& main) {
  EdiTotals t;
  t.entry_date = main.Text2.Text();
  t.qsos = main.Label19.Caption();
  t.km = main.Label21.Caption();
  t.multipliers = main.Label23.Caption();
  t.points = main.Label25.Caption();
  t.odx_call = main.Label27.Caption();
  t.odx_locator = main.Label28.Caption();
  t.odx_km = main.Label29.Caption();
  t.iqrp_number = main.Label41.Caption();
  t.mqc_number = main.Label42.Caption();
  return t;
}

}  // namespace

void Form2::Form2_Command2_Click() {
  if (const auto refusal = PowerRefusal(Combo1.Text(), Text19.Text())) {
    program_.Message(*refusal);
    Text19.SetFocus();
    return;
  }
  Text23.SetText("");
  Text23.SetText(EdiLogText(HeaderOf(*this), TotalsOf(program_.Get<Form1>())));

  Form4& save = program_.Get<Form4>();
  if (const auto name = EdiFileName(Combo1.Text(), Text2.Text())) save.Text2.SetText(*name);
  save.Text1.SetText(Text23.Text());

  Unload();
  save.Show();
}

}  // namespace keldra
