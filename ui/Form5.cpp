#include "ui/Form5.h"

#include "core/StateFile.h"
#include "platform/CodePage.h"
#include "ui/Form1.h"
#include "ui/Form12.h"
#include "ui/Form3.h"
#include "ui/Layout.h"
#include "ui/StartWindows.h"

namespace keldra {

Form5::Form5(Program& program)
    : Form(program.Desktop(), "Form5", "Keldra VHF qrp test - QX0ZM Sez. di Torvalle", Px(420),
           Px(210)),
      program_(program) {
  Layout();
  Command1.Click = [this] { Form5_Command1_Click(); };
  Command2.Click = [this] { Form5_Command2_Click(); };
  Check2.Click = [this] { Form5_Check2_Click(); };
}

void Form5::Layout() {
  Place(Image1, 16, 16, 96, 96);
  Place(Command1, 132, 16, 270, 40);
  Place(Command2, 132, 66, 270, 40);
  for (CommandButton* b : {&Command1, &Command2}) b->SetFont({.bold = true, .points = 11});
  Place(Check1, 132, 124, 270, 24);
  Place(Check2, 132, 154, 270, 24);
}

void Form5::Form5_Command1_Click() {
  // A contest file that is there but cannot be read is not continued as an empty contest: the
  // next two saves would replace the file and then its backup. The start window stays, so the
  // operator can try again, or start a new contest knowingly.
  const std::filesystem::path saved = program_.File(kStateFileName);
  if (program_.Disk().Exists(saved)) {
    if (const ReadResult read = program_.Disk().Read(saved); !read.status) {
      program_.Message(U8("Il contest salvato non può essere letto: riprovare \"Continua "
                          "Contest\" o scegliere \"Nuovo Contest\".\n" +
                          read.status.Describe()),
                       MessageIcon::kCritical);
      return;
    }
  }
  Form1& main = program_.Get<Form1>();
  main.Command4.Press();
  main.Show();
  main.Text6.SetFocus();
  if (Check1.Value() == 1) main.Text15.SetText("1");
  Unload();
}

void Form5::Form5_Command2_Click() {
  Form3& station = program_.Get<Form3>();
  station.Show();
  if (Check1.Value() == 1) station.Text5.SetText("1");
  Unload();
}

void Form5::Form5_Check2_Click() {
  // Only a tick opens the restore window; "NO" there clears the tick again.
  if (Check2.Value() == 1) program_.Get<Form12>().Show();
}

void Form5::CloseRequested() {
  Unload();
  EndIfNothingShown(program_);
}

}  // namespace keldra
