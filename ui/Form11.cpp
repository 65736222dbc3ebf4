#include "ui/Form11.h"

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

Form11::Form11(Program& program)
    : Form(program.Desktop(), "Form11", "Gestione Database IQRP - MQC", Px(560), Px(470)),
      program_(program) {
  Layout();
  Wire();
}

void Form11::Layout() {
  Place(Label1, 16, 18, 70, 22);
  Label1.SetFont({.bold = true});
  Place(Combo1, 90, 14, 110, 26);
  Combo1.AddItem("I-QRP");
  Combo1.AddItem("MQC");
  Place(Label3, 250, 18, 130, 22);
  Place(Label2, 382, 18, 60, 22);
  Label2.SetFont({.bold = true, .points = 11});

  const struct {
    Frame* frame;
    TextBox* list;
    Label* caption;
    TextBox* count;
    int x;
  } clubs[] = {{&Frame1, &Text1, &Label4, &Text3, 16}, {&Frame2, &Text2, &Label5, &Text4, 288}};
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

  Place(Label6, 16, 334, 150, 22);
  Place(Text5, 170, 330, 160, 26);
  Place(Command2, 342, 328, 100, 30);
  Place(Label7, 16, 374, 150, 22);
  Place(Text6, 170, 370, 160, 26);
  Place(Command3, 342, 368, 100, 30);
  Place(Command1, 444, 422, 100, 32);
  for (TextBox* field : {&Text5, &Text6}) {
    field->SetFont({.points = 11});
  }
  SetTabOrder({&Combo1, &Text5, &Command2, &Text6, &Command3, &Command1, &Text1, &Text2});
}

void Form11::Wire() {
  Combo1.Click = [this] { Form11_Combo1_Click(); };
  Text5.Change = [this] { Form11_Text5_Change(); };
  Text6.Change = [this] { Form11_Text6_Change(); };
  Command2.Click = [this] { Form11_Command2_Click(); };
  Command3.Click = [this] { Form11_Command3_Click(); };
  Command1.Click = [this] { Form11_Command1_Click(); };
}

Club Form11::ChosenClub() const { return Combo1.ListIndex() == 1 ? Club::kMqc : Club::kIqrp; }

TextBox& Form11::ListOf(Club club) { return club == Club::kIqrp ? Text1 : Text2; }

TextBox& Form11::CountOf(Club club) { return club == Club::kIqrp ? Text3 : Text4; }

void Form11::ShowList(Club club, const std::vector<Member>& members) {
  ListOf(club).SetText(FormatMembers(members));
  CountOf(club).SetText(PlainDecimal(static_cast<long long>(members.size())));
}

void Form11::LoadList(Club club) {
  const MemberFile file = ReadMemberFile(program_.Disk(), program_.File(ClubFileName(club)));
  unreadable_[Index(club)] = !file.status.ok();
  if (!file.status.ok()) {
    program_.Message(U8(file.status.Describe()) + "\r\n" +
                         U8("Non sarà possibile aggiungere soci al database ") + ClubTitle(club) +
                         ".",
                     MessageIcon::kCritical);
    return;
  }
  ShowList(club, file.members);
}

void Form11::Form11_Load() {
  LoadList(Club::kIqrp);
  LoadList(Club::kMqc);
  Combo1.SetListIndex(0);  // shows I-QRP and its next number
}

void Form11::Form11_Combo1_Click() {
  const Club club = ChosenClub();
  Label2.SetCaption(PlainDecimal(NextMemberNumber(ParseMembers(ListOf(club).Text()))));
}

void Form11::Form11_Text5_Change() {
  Text5.SetText(ToUpper1252(Text5.Text()));
  Text5.CaretToEnd();
}

void Form11::Form11_Text6_Change() {
  Text6.SetText(ToUpper1252(Text6.Text()));
  Text6.CaretToEnd();
}

void Form11::Form11_Command2_Click() {
  const Club club = ChosenClub();
  const std::string name = MemberKey(Trim(Text5.Text()));
  if (name.empty()) {
    program_.Message("Inserire il nominativo da cercare");
    Text5.SetFocus();
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

void Form11::Form11_Command3_Click() {
  const Club club = ChosenClub();
  const std::string callsign = Trim(Text6.Text());
  if (!IsPlainCallsign(callsign)) {
    program_.Message(
        U8("Nominativo non valido: scrivere l'indicativo del nuovo socio, solo "
           "lettere e cifre, senza suffisso \"/\"."));
    Text6.SetFocus();
    return;
  }
  if (unreadable_[Index(club)]) {
    program_.Message(std::string("Il file ") + ClubFileName(club) +
                         U8(" non è stato letto all'apertura: l'utente non è stato aggiunto."),
                     MessageIcon::kCritical);
    return;
  }
  std::vector<Member> members = ParseMembers(ListOf(club).Text());
  if (FindMember(members, callsign) != nullptr) {
    program_.Message(U8("L'Utente non può essere aggiunto poiche' gia' presente"));
    return;
  }
  members.push_back({callsign, PlainDecimal(NextMemberNumber(members))});
  const IoStatus saved =
      WriteMemberFile(program_.Disk(), program_.File(ClubFileName(club)), members);
  if (!saved) {
    program_.Message(U8(saved.Describe()) + "\r\n" + U8("L'utente non è stato aggiunto."),
                     MessageIcon::kCritical);
    return;
  }
  // The count follows the list shown (it no longer decides the next number), and the next
  // number moves on, so a second addition in this opening never reuses it.
  ShowList(club, members);
  Label2.SetCaption(PlainDecimal(NextMemberNumber(members)));
  Text6.SetText("N.A.");
  program_.Message("Utente aggiunto con successo nel database");
}

void Form11::Form11_Command1_Click() { Unload(); }

}  // namespace keldra
