// The windows of the start-up as the operator first sees them: each control's caption or text,
// tooltip and visibility, and each window's title. The main window is checked after an on-line
// start with a station file, when start-up has already filled the station frame and the clock.
#include <gtest/gtest.h>

#include "StartupFixture.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/RestoreWindow.h"
#include "ui/StartWindow.h"
#include "ui/StationWindow.h"
#include "widgets/Buttons.h"
#include "widgets/Graphics.h"
#include "widgets/Lists.h"

namespace keldra::testing {
namespace {

// What a control shows: a caption, or a text box's or combo box's text.
std::string Shows(const Control& control) {
  if (auto* c = dynamic_cast<const Label*>(&control)) {
    return c->Caption();
  }
  if (auto* c = dynamic_cast<const TextBox*>(&control)) {
    return c->Text();
  }
  if (auto* c = dynamic_cast<const CommandButton*>(&control)) {
    return c->Caption();
  }
  if (auto* c = dynamic_cast<const CheckBox*>(&control)) {
    return c->Caption();
  }
  if (auto* c = dynamic_cast<const Frame*>(&control)) {
    return c->Caption();
  }
  if (auto* c = dynamic_cast<const ComboBox*>(&control)) {
    return c->Text();
  }
  return {};
}

struct Row {
  const char* name;
  std::string shows;
  bool visible;
  std::string tooltip = {};
};

void ExpectTable(const Form& form, const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(form.Name() + "." + row.name);
    const Control* control = form.Find(row.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(Cp1252ToUtf8(Shows(*control)), row.shows);
    EXPECT_EQ(control->Visible(), row.visible);
    EXPECT_EQ(control->ToolTip(), row.tooltip);
  }
}

TEST_F(StartupTest, MainWindowControlsAtStartUp) {
  WriteBytes(File("config.txt"), kStationFile);
  MainWindow& main = Start();
  EXPECT_EQ(main.Caption(), "Keldra VHF qrp - QX0ZM Sez. di Torvalle - ver 1.11 27/8/2022");
  ExpectTable(main, {
                        {"Label1", "QSO #", true},
                        {"Label2", "Data", true},
                        {"Label3", "UTC", true},
                        {"Label4", "Mhz", true},
                        {"Label5", "Modo", true},
                        {"Label6", "Callsign", true},
                        {"Label7", "RST-tx", true},
                        {"Label8", "RST-rx", true},
                        {"Label9", "Prog", true},
                        {"Label10", "Locatore", true},
                        {"Label11", "I-QRP MQC", true},
                        {"Text1", "001", true},
                        {"Text2", "16/07/23", true, "es. 19/07/20"},
                        {"Text3", "07.30", true, "es. 09.20"},
                        {"Text4", "144", true},
                        {"Text5", "SSB", true, "up e down per cambiare il modo"},
                        {"Text6", "", true},
                        {"Text7", "59", true},
                        {"Text8", "59", true},
                        {"Text9", "", true, "(3 cifre es. 001)"},
                        {"Text10", "", true, "(6 cifre es. JN81GD)"},
                        {"Text11", "", true, "(es. I003 o M123)"},
                        {"Label12", "QRB:", false},
                        {"Label13", "", true},
                        {"Label16", "Km", false},
                        {"Label14", "QTF:", false},
                        {"Label15", "", true},
                        {"Label17", "°", false},
                        {"Label55", "DUPLICATO!", false},
                        {"Command1", "OK", true},
                        {"Command2", "Crea LOG", true},
                        {"Command3", "Esci", true},
                        {"Command4", "apri_parz", false},
                        {"Command5", "Modifica QSO", true},
                        {"Command6", "STAT", true},
                        {"Command8", "Command8", false},
                        {"Command11", "Amministrazione", false},
                        {"Frame1", "Contest", true},
                        {"Label18", "QSO:", true},
                        {"Label19", "0", true},
                        {"Label20", "QRB:", true},
                        {"Label21", "0", true},
                        {"Label22", "Moltiplicatori:", true},
                        {"Label23", "0", true},
                        {"Label24", "Punti:", true},
                        {"Label25", "0", true},
                        {"Label43", "Media:", true},
                        {"Label44", "0", true},
                        {"Label26", "ODX:", true},
                        {"Label27", "...", true},
                        {"Label28", "...", true},
                        {"Label29", "0", true},
                        {"Label30", "Km", true},
                        {"Label49", "I-QRP:", true},
                        {"Label51", "0", true},
                        {"Label50", "MQC:", true},
                        {"Label52", "0", true},
                        {"Frame2", "Stazione", true},
                        {"Label35", "Call:", true},
                        {"Label39", "QX0ABC", true},
                        {"Label36", "Locatore:", true},
                        {"Label40", "JN71AB", true},
                        {"Label37", "I-QRP:", true},
                        {"Label41", "003", true},
                        {"Label38", "MQC:", true},
                        {"Label42", "", true},
                        {"Label45", "Modalità:", true},
                        {"Label46", "on-line", true},
                        {"Label48", "Account:", true},
                        {"Label47", "User", true},
                        {"Label53", "Award:", true},
                        {"Label54", "I-QRP Club Award", false},
                        {"Picture3", "", false},
                        {"Frame3", "Puntamento", true},
                        {"Picture1", "", true},
                        {"Picture2", "", true},
                        {"Picture4", "", true},
                        {"Text12", "", true},
                        {"Label31", "Invio Log: log@keldraqrptest.it", true},
                        {"Label32", "27° KELDRA VHF QRP TEST", true,
                         "Cartella del contest: " + folder_.path().string()},
                        {"Label33", "DATA: 16/07/2023", true},
                        {"Label34", "ORARIO: dalle 07.00 alle 13.00 utc", true},
                        {"Image1", "", true},
                    });
  // On-line: the mode switch is there, the clock button is not.
  EXPECT_TRUE(main.logging_mode_button.Visible());
  EXPECT_FALSE(main.pc_date_time_button.Visible());
  // The entry row is typed left to right.
  const std::vector<Control*>& tab = main.TabOrder();
  ASSERT_GE(tab.size(), 12u);
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(tab[i]->Name(), "Text" + std::to_string(i + 1));
  }
  EXPECT_EQ(tab[11]->Name(), "Command1");
}

TEST_F(StartupTest, StartUpWindowsControls) {
  WriteBytes(File("parziale.db"), "QSO# 002\r\n");
  Start();
  const StartWindow& start = program().Get<StartWindow>();
  EXPECT_EQ(start.Caption(), "Keldra VHF qrp test - QX0ZM Sez. di Torvalle");
  ExpectTable(start, {{"Command1", "Continua Contest", true},
                      {"Command2", "Nuovo Contest", true},
                      {"Check1", "Modalità off-line", true},
                      {"Check2", "Restore di emergenza", true},
                      {"Image1", "", true}});

  const StationWindow& station = program().Get<StationWindow>();
  EXPECT_EQ(station.Caption(), "Keldra qrp Test - Dati Stazione");
  ExpectTable(station, {{"Label1", "Nominativo", true},
                        {"Text1", "", true},
                        {"Label2", "Locatore", true},
                        {"Text2", "", true},
                        {"Label3", "Socio I-QRP N.", true},
                        {"Label5", "I - ", true},
                        {"Text3", "", true},
                        {"Label4", "Socio MQC", true},
                        {"Label6", "M -", true},
                        {"Text4", "", true},
                        {"Command1", "Salva", true},
                        {"Command2", "Esci", true},
                        {"Image1", "", true}});

  const RestoreWindow& restore = program().Get<RestoreWindow>();
  EXPECT_EQ(restore.Caption(), "Keldra VHF - Restore di emergenza");
  ExpectTable(restore,
              {{"Label2", "ATTENZIONE!", true},
               {"Label1",
                "Il Restore di emergenza ripristina il database di Keldra qrp Test all'ultimo "
                "record inserito correttamente. E' consigliabile procedere con questa funzione "
                "solo in caso di crash o di anomalie sull'inserimento errato di un qso non "
                "altrimenti risolvibili. Procedere con la funzione di ripristino?",
                true},
               {"Command1", "SI", true},
               {"Command2", "NO", true}});
}

TEST_F(StartupTest, EdiHeaderWindowControlsWithoutStationFile) {
  Start();
  const EdiHeaderWindow& edi = program().Get<EdiHeaderWindow>();
  EXPECT_EQ(edi.Caption(), "Keldra qrp Test - Compilazione Log formato EDI");
  // Loaded with no station known yet: the main window's "..." stand in for callsign and locator.
  ExpectTable(edi, {{"Label1", "Nominativo", true},
                    {"Text2", "...", true},
                    {"Label2", "Locatore", true},
                    {"Text3", "...", true},
                    {"Label3", "Contest", true},
                    {"Text4", "Keldra VHF qrp Contest", true},
                    {"Label4", "Categoria", true},
                    {"Combo1", "0,5 watt", true},
                    {"Label5", "Banda", true},
                    {"Text5", "144", true},
                    {"Label6", "Data", true},
                    {"Text6", "16/07/2023", true},
                    {"Label7", "Nome - Cognome", true},
                    {"Text7", "", true},
                    {"Label8", "Indirizzo", true},
                    {"Text8", "", true},
                    {"Label9", "CAP", true},
                    {"Text9", "", true},
                    {"Label10", "Città", true},
                    {"Text10", "", true},
                    {"Label11", "Nazione", true},
                    {"Text11", "", true},
                    {"Label12", "Telefono", true},
                    {"Text12", "", true},
                    {"Label13", "Email", true},
                    {"Text13", "", true},
                    {"Label14", "Operatori", true},
                    {"Text14", "", true},
                    {"Label15", "Club", true},
                    {"Text15", "", true},
                    {"Label16", "Ricevitore", true},
                    {"Text16", "", true},
                    {"Label17", "Trasmettitore", true},
                    {"Text17", "", true},
                    {"Label18", "Antenne", true},
                    {"Text18", "", true},
                    {"Label19", "Potenza (w)", true},
                    {"Text19", "", true},
                    {"Label20", "Altezza Antenne (m)", true},
                    {"Text20", "", true},
                    {"Label21", "Altitudine (m aslm)", true},
                    {"Text21", "", true},
                    {"Label22", "Commenti", true},
                    {"Text22", "", true},
                    {"Text1", "", true},
                    {"Command2", "Crea EDI", true},
                    {"Command1", "Chiudi", true}});
}

}  // namespace
}  // namespace keldra::testing
