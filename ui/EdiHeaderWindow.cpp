#include "ui/EdiHeaderWindow.h"

#include <utility>

#include "core/Text.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"

namespace keldra {

EdiHeaderWindow::EdiHeaderWindow(Program& program)
    : Form(program.Desktop(), "Form2", "Keldra qrp Test - Compilazione Log formato EDI", Px(760),
           Px(640)),
      program_(program) {
  Layout();
  close_button.Click = [this] { OnClosePressed(); };
  create_edi_button.Click = [this] { OnCreateEdiPressed(); };
  create_adif_button.Click = [this] { OnCreateAdifPressed(); };
}

void EdiHeaderWindow::Layout() {
  constexpr int kRow = 30;
  // Station and entrant on the left, equipment and remarks on the right.
  const std::pair<Label*, Control*> left[] = {{&call_caption, &call},
                                              {&locator_caption, &locator},
                                              {&contest_name_caption, &contest_name},
                                              {&category_caption, &category},
                                              {&band_caption, &band},
                                              {&date_caption, &date},
                                              {&operator_name_caption, &operator_name},
                                              {&address_caption, &address},
                                              {&postcode_caption, &postcode},
                                              {&city_caption, &city},
                                              {&country_caption, &country},
                                              {&phone_caption, &phone},
                                              {&email_caption, &email}};
  int y = 14;
  for (const auto& [caption, field] : left) {
    Place(*caption, 14, y + 4, 124, 20);
    caption->SetFont({.bold = true});
    Place(*field, 140, y, 220, 26);
    y += kRow;
  }
  const std::pair<Label*, TextBox*> right[] = {{&operators_caption, &operators},
                                               {&club_caption, &club},
                                               {&receiver_caption, &receiver},
                                               {&transmitter_caption, &transmitter},
                                               {&antennas_caption, &antennas},
                                               {&power_caption, &power},
                                               {&antenna_height_caption, &antenna_height},
                                               {&altitude_caption, &altitude},
                                               {&comments_caption, &comments}};
  y = 14;
  for (const auto& [caption, field] : right) {
    Place(*caption, 384, y + 4, 150, 20);
    caption->SetFont({.bold = true});
    Place(*field, 536, y, 210, 26);
    y += kRow;
  }
  comments.SetMultiLine(true);
  comments.SetWordWrap(true);  // a remark reads as a paragraph, not one long line
  Place(comments, 536, 14 + 8 * kRow, 210, 5 * kRow - 4);
  contest_name.SetLocked(true);
  band.SetLocked(true);

  // The record list is shown for reference, as the log makes it.
  Place(edi_records, 14, 14 + 13 * kRow + 6, 732, 164);
  edi_records.SetMultiLine(true);
  edi_records.SetLocked(true);
  edi_records.SetFont({.points = 9, .fixed_pitch = true});

  Place(create_adif_button, 418, 590, 104, 34);
  Place(create_edi_button, 530, 590, 104, 34);
  create_edi_button.SetFont({.bold = true});
  Place(close_button, 642, 590, 104, 34);
}

void EdiHeaderWindow::OnWindowLoaded() {
  for (const char* offered : {"0,5 watt", "3 watt", "5 watt"}) {
    category.AddItem(offered);
  }
  category.SetListIndex(0);
  date.SetText(FormatDateLong(program_.Time().Local()));
  MainWindow& main = program_.Get<MainWindow>();
  if (call.Text().empty()) {
    call.SetText(main.station_call.Caption());
  }
  if (locator.Text().empty()) {
    locator.SetText(main.station_locator.Caption());
  }
  edi_records.SetText(program_.Contest().EdiRecordsText());
  log_observer_ = program_.Contest().Observe([this](const LogEvent& event) {
    const ContestLog& log = program_.Contest();
    if (event.change == LogChange::kLogged) {
      edi_records.AppendText(*log.Entries()[event.first].record_line + "\r\n");
    } else {
      edi_records.SetText(log.EdiRecordsText());
    }
  });
}

void EdiHeaderWindow::OnClosePressed() { Hide(); }

}  // namespace keldra
