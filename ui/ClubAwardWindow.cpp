#include "ui/ClubAwardWindow.h"

#include "ui/Layout.h"

namespace keldra {

ClubAwardWindow::ClubAwardWindow(Program& program)
    : Form(program.Desktop(), "Form9", "I-QRP Club Awars", Px(460), Px(220)) {
  Place(award_picture, 16, 16, 96, 96);
  award_picture.SetArt(Artwork::kAward);
  award_picture.SetBorder(false);
  Place(congratulations, 128, 16, 316, 96);
  congratulations.SetFont({.bold = true, .points = 11});
  Place(rules_caption, 128, 124, 100, 20);
  rules_caption.SetFont({.bold = true});
  Place(rules_address, 232, 124, 212, 20);
  rules_address.SetForeColor({0, 0, 192});
  Place(close_button, 354, 168, 90, 32);

  close_button.Click = [this] { OnClosePressed(); };
}

void ClubAwardWindow::OnClosePressed() { Unload(); }

}  // namespace keldra
