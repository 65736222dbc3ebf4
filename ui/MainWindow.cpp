#include "ui/MainWindow.h"

#include "ui/Layout.h"

namespace keldra {

MainWindow::MainWindow(Program& program)
    : Form(program.Desktop(), "Form1",
           "Keldra VHF qrp - QX0ZM Sez. di Torvalle - ver 1.11 27/8/2022", Px(1100), Px(700)),
      program_(program) {
  Layout();
  Wire();
}

void MainWindow::Layout() {
  LayoutEntryArea();
  LayoutHistory();
  LayoutPointingFrame();
  LayoutRadio();
  LayoutChat();
  LayoutVoice();
  LayoutKeyer();
  LayoutTotalsFrame();
  LayoutStationFrame();
}

// The left of the window: banner, entry row with its indicators, QSO list and buttons.
void MainWindow::LayoutEntryArea() {
  // Contest banner.
  Place(logo, 8, 8, 56, 56);
  Place(contest_title, 76, 8, 420, 26);
  contest_title.SetFont({.bold = true, .points = 15});
  contest_title.SetForeColor({0, 0, 128});
  // An operator who keeps more than one contest, or runs two copies, can tell which folder this
  // window works in.
  contest_title.SetToolTip(Cp1252("Cartella del contest: ") +
                           Utf8ToCp1252(program_.Folder().string()));
  Place(contest_date, 76, 38, 150, 18);
  Place(contest_hours, 236, 38, 260, 18);
  Place(log_address, 506, 38, 340, 18);
  for (Label* l : {&contest_date, &contest_hours, &log_address}) {
    l->SetFont({.bold = true});
  }

  // Entry row: headings over fields, "OK" at the end.
  struct Column {
    Label* heading;
    TextBox* field;
    int width;
  };
  const Column row[] = {{&qso_number_heading, &qso_number, 56},
                        {&date_heading, &date, 78},
                        {&time_heading, &time, 56},
                        {&band_heading, &band, 46},
                        {&mode_heading, &mode, 46},
                        {&call_heading, &call, 110},
                        {&rst_sent_heading, &rst_sent, 52},
                        {&rst_received_heading, &rst_received, 52},
                        {&serial_received_heading, &serial_received, 48},
                        {&locator_heading, &locator, 84},
                        {&club_code_heading, &club_code, 80}};
  int x = 8;
  for (const Column& c : row) {
    Place(*c.heading, x, 76, c.width + 6, 18);
    c.heading->SetFont({.bold = true});
    c.heading->SetWordWrap(false);
    Place(*c.field, x, 96, c.width, 26);
    c.field->SetFont({.points = 11});
    x += c.width + 6;
  }
  Place(ok_button, x + 4, 94, 70, 30);
  ok_button.SetFont({.bold = true, .points = 11});
  qso_number.SetLocked(true);
  band.SetLocked(true);
  mode.SetLocked(true);
  date.SetToolTip("es. 19/07/20");
  time.SetToolTip("es. 09.20");
  mode.SetToolTip("up e down per cambiare il modo");
  serial_received.SetToolTip("(3 cifre es. 001)");
  locator.SetToolTip("(6 cifre es. JN81GD)");
  club_code.SetToolTip("(es. I003 o M123)");

  // Distance, bearing and duplicate warning under the row.
  Place(distance_caption, 540, 130, 50, 22);
  Place(distance, 590, 130, 60, 22);
  Place(distance_unit, 654, 130, 34, 22);
  Place(bearing_caption, 700, 130, 50, 22);
  Place(bearing, 750, 130, 50, 22);
  Place(bearing_unit, 802, 130, 20, 22);
  for (Label* l :
       {&distance_caption, &distance, &distance_unit, &bearing_caption, &bearing, &bearing_unit}) {
    l->SetFont({.bold = true, .points = 12});
    l->SetVisible(false);
  }
  distance.SetVisible(true);
  bearing.SetVisible(true);
  distance.SetAlign(Alignment::kRight);
  bearing.SetAlign(Alignment::kRight);
  Place(duplicate_warning, 380, 130, 150, 22);
  duplicate_warning.SetFont({.bold = true, .points = 12});
  duplicate_warning.SetForeColor({200, 0, 0});
  duplicate_warning.SetVisible(false);

  // The QSO list.
  // Narrower than the row: the known calls stand beside it.
  Place(qso_list, 8, 158, 692, 486);
  qso_list.SetMultiLine(true);
  qso_list.SetLocked(true);
  qso_list.SetFont({.points = 10, .fixed_pitch = true});

  // Buttons along the bottom: "Mappa" beside "STAT", so the row ends with "Data/ora PC", which
  // only off-line shows. "Amministrazione", for administrators only, has no room left in the row
  // and stands under the station frame, in line with it.
  x = 8;
  for (CommandButton* b : {&create_log_button, &edit_qso_button, &statistics_button, &map_button,
                           &logging_mode_button, &pc_date_time_button}) {
    Place(*b, x, 656, 112, 32);
    x += 120;
  }
  Place(exit_button, 754, 656, 100, 32);
  Place(administration_button, 866, 656, 226, 32);
  logging_mode_button.SetCaption("on-line / off-line");
  pc_date_time_button.SetCaption("Data/ora PC");
  pc_date_time_button.SetVisible(false);
  administration_button.SetVisible(false);
  Place(resume_button, 0, 0, 80, 24);
  Place(show_last_qso_button, 0, 0, 80, 24);
  resume_button.SetVisible(false);
  show_last_qso_button.SetVisible(false);
}

// The right column, top: the bearing needle, its readout and the distance bar.
void MainWindow::LayoutPointingFrame() {
  Place(pointing_frame, 866, 8, 226, 224);  // the rig and rotator row at its foot
  Place(compass, 10, 20, 120, 120, &pointing_frame);
  compass.SetArt(Artwork::kCompass);
  Place(bearing_needle, 0, 0, 0, 0, &compass);
  bearing_needle.SetPoints(Px(60), Px(60), Px(60), Px(20));
  bearing_needle.SetThickness(3);
  bearing_needle.SetForeColor({200, 0, 0});
  Place(bearing_box, 140, 60, 76, 40, &pointing_frame);
  Place(bearing_readout, 4, 8, 68, 24, &bearing_box);
  bearing_readout.SetFont({.bold = true, .points = 13});
  bearing_readout.SetAlign(Alignment::kCenter);
  Place(distance_bar_box, 10, 150, 206, 36, &pointing_frame);
  Place(distance_bar, 0, 0, 0, 0, &distance_bar_box);
  distance_bar.SetPoints(Px(4), Px(18), Px(4), Px(18));
  distance_bar.SetThickness(8);
  distance_bar.SetForeColor({0, 128, 0});
  distance_bar.SetVisible(false);
}

// The right column, middle: a caption and a value per total. The ODX takes two rows, the call on
// the first and its locator and distance on the second, so that a portable call, the locator and a
// four-digit distance never run together.
void MainWindow::LayoutTotalsFrame() {
  Place(totals_frame, 866, 238, 226, 217);
  const std::pair<Label*, Label*> totals[] = {{&total_qsos_caption, &total_qsos},
                                              {&total_km_caption, &total_km},
                                              {&total_multipliers_caption, &total_multipliers},
                                              {&total_points_caption, &total_points},
                                              {&average_km_caption, &average_km},
                                              {&odx_caption, &odx_call},
                                              {&iqrp_qsos_caption, &iqrp_qsos},
                                              {&mqc_qsos_caption, &mqc_qsos}};
  int y = 22;
  for (const auto& [caption, value] : totals) {
    Place(*caption, 10, y, 100, 19, &totals_frame);
    Place(*value, 112, y, 104, 19, &totals_frame);
    value->SetFont({.bold = true});
    y += value == &odx_call ? 42 : 21;
  }
  Place(odx_locator, 112, 148, 54, 19, &totals_frame);
  Place(odx_km, 166, 148, 34, 19, &totals_frame);
  Place(odx_km_unit, 203, 148, 20, 19, &totals_frame);
  odx_locator.SetFont({.bold = true});
  odx_km.SetFont({.bold = true});
  odx_km.SetAlign(Alignment::kRight);
}

// The right column, bottom: the own station, the logging mode and the award once earned.
void MainWindow::LayoutStationFrame() {
  Place(station_frame, 866, 461, 226, 190);
  const std::pair<Label*, Label*> station[] = {
      {&station_call_caption, &station_call},        {&station_locator_caption, &station_locator},
      {&station_iqrp_caption, &station_iqrp_number}, {&station_mqc_caption, &station_mqc_number},
      {&logging_mode_caption, &logging_mode},        {&account_caption, &account}};
  int y = 22;
  for (const auto& [caption, value] : station) {
    Place(*caption, 10, y, 90, 19, &station_frame);
    Place(*value, 102, y, 114, 19, &station_frame);
    value->SetFont({.bold = true});
    y += 21;
  }
  Place(award_caption, 10, y + 6, 60, 19, &station_frame);
  Place(award_picture, 60, y + 2, 30, 30, &station_frame);
  award_picture.SetArt(Artwork::kAward);
  award_picture.SetBorder(false);
  Place(award_name, 92, y + 6, 130, 19, &station_frame);  // the award's name on one line
  award_name.SetFont({.bold = true});
  award_name.SetForeColor({160, 100, 0});
  award_picture.SetVisible(false);
  award_name.SetVisible(false);
}

void MainWindow::Wire() {
  ok_button.Click = [this] { OnOkPressed(); };
  create_log_button.Click = [this] { OnCreateLogPressed(); };
  exit_button.Click = [this] { OnExitPressed(); };
  resume_button.Click = [this] { OnResumePressed(); };
  edit_qso_button.Click = [this] { OnEditQsoPressed(); };
  statistics_button.Click = [this] { OnStatisticsPressed(); };
  logging_mode_button.Click = [this] { OnLoggingModePressed(); };
  show_last_qso_button.Click = [this] { OnShowLastQsoPressed(); };
  pc_date_time_button.Click = [this] { OnPcDateTimePressed(); };
  administration_button.Click = [this] { OnAdministrationPressed(); };
  award_picture.Click = [this] { OnAwardPictureClicked(); };
  map_button.Click = [this] { OnMapPressed(); };
  station_locator.Change = [this] { FollowOnMap(); };

  distance.Change = [this] { OnDistanceChanged(); };
  bearing.Change = [this] { OnBearingChanged(); };
  station_call.Change = [this] { OnStationCallChanged(); };
  iqrp_qsos.Change = [this] { OnIqrpQsosChanged(); };

  qso_number.Change = [this] { OnQsoNumberChanged(); };
  time.Change = [this] { OnTimeChanged(); };
  call.Change = [this] { OnCallChanged(); };
  locator.Change = [this] {
    OnLocatorChanged();
    FollowOnMap();
  };
  club_code.Change = [this] { OnClubCodeChanged(); };
  date.LostFocus = [this] { OnDateLeft(); };
  time.LostFocus = [this] { OnTimeLeft(); };
  serial_received.LostFocus = [this] { OnSerialReceivedLeft(); };

  // The row: Enter or Space moves on; entering a field trims the one before it.
  TextBox* const row[] = {&date,    &time,     &band,         &mode,
                          &call,    &rst_sent, &rst_received, &serial_received,
                          &locator, &club_code};
  for (TextBox* field : row) {
    field->KeyDown = [this, field](int key_code, KeyModifiers, bool& handled) {
      OnEntryRowKeyDown(*field, key_code, handled);
    };
    field->GotFocus = [this, field] { OnEntryRowEntered(*field); };
  }
  mode.KeyDown = [this](int key_code, KeyModifiers, bool& handled) {
    OnModeKeyDown(key_code, handled);
  };
  serial_received.GotFocus = [this] { OnSerialReceivedEntered(); };
  locator.GotFocus = [this] { OnLocatorEntered(); };
  locator.KeyDown = [this](int key_code, KeyModifiers, bool& handled) {
    OnLocatorKeyDown(key_code, handled);
  };
  // Commits, corrections and resumes all change the log; the window, the history and the map
  // follow it.
  log_observer_ =
      program_.Contest().Observe([this](const LogEvent& event) { OnLogChanged(event); });
  WireRadio();
  WireVoice();
  WireKeyer();
}

void MainWindow::KeysBeforeFields(
    bool with_list, const std::function<bool(TextBox& field, int key_code, KeyModifiers)>& keys) {
  TextBox* const fields[] = {&date,    &time,      &band,         &mode,
                             &call,    &rst_sent,  &rst_received, &serial_received,
                             &locator, &club_code, &qso_list};
  for (TextBox* field : fields) {
    if (field == &qso_list && !with_list) {
      continue;
    }
    field->KeyDown = [field, keys, own = std::move(field->KeyDown)](
                         int key_code, KeyModifiers modifiers, bool& handled) {
      if (keys(*field, key_code, modifiers)) {
        handled = true;
      } else if (own) {
        own(key_code, modifiers, handled);
      }
    };
  }
}

}  // namespace keldra
