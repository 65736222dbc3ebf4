#include "ui/ClubManagementWindow.h"

#include <algorithm>

#include "core/Text.h"
#include "ui/Layout.h"

namespace keldra {
namespace {

std::size_t Index(Club club) { return club == Club::kIqrp ? 0 : 1; }

// A callsign as the lists hold it: letters and digits only, no "/" suffix.
bool IsPlainCallsign(std::string_view callsign) {
  return !callsign.empty() && std::all_of(callsign.begin(), callsign.end(), [](char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'Z');
  });
}

}  // namespace

ClubManagementWindow::ClubManagementWindow(Program& program)
    : Form(program.Desktop(), "Form11", "Gestione Database IQRP - MQC", Px(560), Px(470)),
      program_(program) {
  Layout();
  Wire();
}

void ClubManagementWindow::Layout() {
  Place(club_caption, 16, 18, 70, 22);
  club_caption.SetFont({.bold = true});
  Place(club_choice, 90, 14, 110, 26);
  club_choice.AddItem("I-QRP");
  club_choice.AddItem("MQC");
  Place(next_number_caption, 250, 18, 130, 22);
  Place(next_number, 382, 18, 60, 22);
  next_number.SetFont({.bold = true, .points = 11});

  const struct {
    Frame* frame;
    TextBox* list;
    Label* caption;
    TextBox* count;
    int x;
  } clubs[] = {{&iqrp_frame, &iqrp_list, &iqrp_count_caption, &iqrp_count, 16},
               {&mqc_frame, &mqc_list, &mqc_count_caption, &mqc_count, 288}};
  for (const auto& club : clubs) {
    Place(*club.frame, club.x, 52, 256, 262);
    Place(*club.list, 12, 22, 232, 196, club.frame);
    club.list->SetMultiLine(true);
    club.list->SetLocked(true);
    club.list->SetFont({.fixed_pitch = true});
    Place(*club.caption, 12, 230, 50, 22, club.frame);
    Place(*club.count, 64, 226, 60, 26, club.frame);
    club.count->SetLocked(true);
    club.count->SetAlign(Alignment::kRight);
  }

  Place(search_call_caption, 16, 334, 150, 22);
  Place(search_call, 170, 330, 160, 26);
  Place(search_button, 342, 328, 100, 30);
  Place(new_member_caption, 16, 374, 150, 22);
  Place(new_member, 170, 370, 160, 26);
  Place(add_button, 342, 368, 100, 30);
  Place(exit_button, 444, 422, 100, 32);
  for (TextBox* field : {&search_call, &new_member}) {
    field->SetFont({.points = 11});
  }
  SetTabOrder({&club_choice, &search_call, &search_button, &new_member, &add_button, &exit_button,
               &iqrp_list, &mqc_list});
}

void ClubManagementWindow::Wire() {
  club_choice.Click = [this] { OnClubChosen(); };
  search_call.Change = [this] { OnSearchCallChanged(); };
  new_member.Change = [this] { OnNewMemberChanged(); };
  search_button.Click = [this] { OnSearchPressed(); };
  add_button.Click = [this] { OnAddPressed(); };
  exit_button.Click = [this] { OnExitPressed(); };
}

Club ClubManagementWindow::ChosenClub() const {
  return club_choice.ListIndex() == 1 ? Club::kMqc : Club::kIqrp;
}

TextBox& ClubManagementWindow::ListOf(Club club) {
  return club == Club::kIqrp ? iqrp_list : mqc_list;
}

TextBox& ClubManagementWindow::CountOf(Club club) {
  return club == Club::kIqrp ? iqrp_count : mqc_count;
}

void ClubManagementWindow::ShowList(Club club, const std::vector<Member>& members) {
  ListOf(club).SetText(FormatMembers(members));
  CountOf(club).SetText(PlainDecimal(static_cast<long long>(members.size())));
}

void ClubManagementWindow::LoadList(Club club) {
  const MemberFile file = ReadMemberFile(program_.Disk(), program_.File(ClubFileName(club)));
  unreadable_[Index(club)] = !file.status.ok();
  if (!file.status.ok()) {
    program_.Message(Cp1252(file.status.Describe()) + "\r\n" +
                         Cp1252("Non sarà possibile aggiungere soci al database ") +
                         ClubTitle(club) + ".",
                     MessageIcon::kCritical);
    return;
  }
  ShowList(club, file.members);
}

void ClubManagementWindow::OnWindowLoaded() {
  LoadList(Club::kIqrp);
  LoadList(Club::kMqc);
  club_choice.SetListIndex(0);  // shows I-QRP and its next number
}

void ClubManagementWindow::OnClubChosen() {
  const Club club = ChosenClub();
  next_number.SetCaption(PlainDecimal(NextMemberNumber(ParseMembers(ListOf(club).Text()))));
}

void ClubManagementWindow::OnSearchCallChanged() {
  search_call.SetText(ToUpper1252(search_call.Text()));
  search_call.CaretToEnd();
}

void ClubManagementWindow::OnNewMemberChanged() {
  new_member.SetText(ToUpper1252(new_member.Text()));
  new_member.CaretToEnd();
}

void ClubManagementWindow::OnSearchPressed() {
  const Club club = ChosenClub();
  const std::string name = MemberKey(Trim(search_call.Text()));
  if (name.empty()) {
    program_.Message("Inserire il nominativo da cercare");
    search_call.SetFocus();
    return;
  }
  const std::vector<Member> members = ParseMembers(ListOf(club).Text());
  if (const Member* member = FindMember(members, name)) {
    program_.Message(std::string("Utente presente nel database ") + ClubTitle(club) +
                     " al numero " + PaddedNumber(member->number));
  } else {
    program_.Message(std::string("Utente non presente nel database ") + ClubTitle(club));
  }
}

void ClubManagementWindow::OnAddPressed() {
  const Club club = ChosenClub();
  const std::string callsign = Trim(new_member.Text());
  if (!IsPlainCallsign(callsign)) {
    program_.Message(
        Cp1252("Nominativo non valido: scrivere l'indicativo del nuovo socio, solo "
               "lettere e cifre, senza suffisso \"/\"."));
    new_member.SetFocus();
    return;
  }
  if (unreadable_[Index(club)]) {
    program_.Message(std::string("Il file ") + ClubFileName(club) +
                         Cp1252(" non è stato letto all'apertura: l'utente non è stato aggiunto."),
                     MessageIcon::kCritical);
    return;
  }
  std::vector<Member> members = ParseMembers(ListOf(club).Text());
  if (FindMember(members, callsign) != nullptr) {
    program_.Message(Cp1252("L'Utente non può essere aggiunto poiche' gia' presente"));
    return;
  }
  members.push_back({callsign, PlainDecimal(NextMemberNumber(members))});
  const IoStatus saved =
      WriteMemberFile(program_.Disk(), program_.File(ClubFileName(club)), members);
  if (!saved) {
    program_.Message(Cp1252(saved.Describe()) + "\r\n" + Cp1252("L'utente non è stato aggiunto."),
                     MessageIcon::kCritical);
    return;
  }
  // The count follows the list shown (it no longer decides the next number), and the next
  // number moves on, so a second addition in this opening never reuses it.
  ShowList(club, members);
  next_number.SetCaption(PlainDecimal(NextMemberNumber(members)));
  new_member.SetText("N.A.");
  program_.Message("Utente aggiunto con successo nel database");
}

void ClubManagementWindow::OnExitPressed() { Unload(); }

}  // namespace keldra
