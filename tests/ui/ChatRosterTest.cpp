// The chat's users and what each would bring: the club codes as the entry row finds them, the
// points by the contest's rule, the list as the frames leave it, sorted and filtered.
#include <gtest/gtest.h>

#include "data/Clubs.h"
#include "ui/ChatRoster.h"

namespace keldra {
namespace {

TEST(ChatRosterTest, ClubCodesAsTheEntryRowLooksThemUp) {
  const std::string mqc = "QX1AB#12\r\nQX2CD#7\r\nQX3EF#x\r\nQX4GH#3\r\nQX4GH#4\r\n";
  const std::string iqrp = "QX2CD#5\r\nQX3EF#9\r\nQX5IJ#1\r\nQX5IJ#bad\r\n";
  const ClubCodes codes(mqc, iqrp);
  for (const char* call :
       {"QX1AB", "QX1AB/P", " QX2CD ", "QX3EF", "QX4GH", "QX5IJ", "QX9ZZ", "", "qx1ab"}) {
    EXPECT_EQ(codes.Of(call), LookUpClubCode(call, mqc, iqrp)) << call;
  }
}

TEST(ChatRosterTest, PointsByTheContestRule) {
  struct Case {
    std::optional<long long> km;
    bool member;
    long long points;
  } const cases[] = {{523, false, 523}, {523, true, 1046},        {0, false, 1},
                     {0, true, 2},      {std::nullopt, false, 1}, {1, true, 2}};
  for (const Case& c : cases) {
    EXPECT_EQ(ChatPoints(c.km, c.member), c.points) << c.km.value_or(-1) << c.member;
  }
}

ChatFrame Frame(ChatFrameKind kind, ChatUser user, int room = 2) {
  ChatFrame frame;
  frame.kind = kind;
  frame.room = room;
  frame.user = std::move(user);
  return frame;
}

TEST(ChatRosterTest, UsersAsTheFramesLeaveThem) {
  ChatRoster roster;
  EXPECT_TRUE(roster.Apply(Frame(ChatFrameKind::kUserListed, {"QX1AB", "Al", "JN61FW", 0}), 2));
  EXPECT_TRUE(roster.Apply(Frame(ChatFrameKind::kUserJoined, {"QX2CD", "Bo", "JN45", 2}), 2));
  EXPECT_TRUE(roster.Apply(Frame(ChatFrameKind::kUserJoined, {"QX3EF", "Cy", "JN70", 2}), 2));
  EXPECT_FALSE(roster.Apply(Frame(ChatFrameKind::kUserJoined, {"QX9ZZ", "", "", 0}, 3), 2));
  EXPECT_TRUE(roster.Apply(Frame(ChatFrameKind::kUserState, {"QX1AB", "", "", 3}), 2));
  EXPECT_FALSE(roster.Apply(Frame(ChatFrameKind::kUserState, {"QX1AB", "", "", 3}), 2));
  EXPECT_TRUE(roster.Apply(Frame(ChatFrameKind::kUserLocator, {"QX2CD", "", "JN45XX", 0}, 0), 2));
  EXPECT_TRUE(roster.Apply(Frame(ChatFrameKind::kUserLeft, {"QX1AB", "", "", 0}), 2));
  EXPECT_FALSE(roster.Apply(Frame(ChatFrameKind::kUserLeft, {"QX1AB", "", "", 0}), 2));
  ASSERT_EQ(roster.Users().size(), 2U);
  EXPECT_EQ(*roster.Find("QX2CD"), (ChatUser{"QX2CD", "Bo", "JN45XX", 2}));
  EXPECT_EQ(roster.Find("QX3EF")->name, "Cy");
  EXPECT_EQ(roster.Find("QX1AB"), nullptr);

  roster.Clear();
  for (std::size_t i = 0; i < ChatRoster::kMaxUsers + 3; ++i) {
    roster.Apply(Frame(ChatFrameKind::kUserListed, {"QX" + std::to_string(i) + "A", "", "", 0}), 2);
  }
  EXPECT_EQ(roster.Users().size(), ChatRoster::kMaxUsers);
  EXPECT_EQ(roster.Dropped(), 3);
}

TEST(ChatRosterTest, RowsByPointsAndNotWorked) {
  PathCalculator calculator;
  calculator.SetOwnLocator("JN81GD");
  ContestLog log;
  LoggedQso worked_qso;
  worked_qso.call = "QX2CD";
  worked_qso.km = 10;
  log.Log(worked_qso);
  WorkedCalls worked;
  worked.ReadAll(log);
  const ClubCodes clubs("", "QX3EF#3\r\n");
  const std::vector<ChatUser> users = {{"QX0ABC", "me", "JN81GD", 0},
                                       {"QX1AB", "Al", "JN61FW", 0},
                                       {"QX2CD", "Bo", "JN45XX", 0},
                                       {"QX3EF", "Cy", "JN81GD", 0},
                                       {"QX4GH", "Di", "", 0}};
  const std::vector<ChatRow> rows = ChatRows(users, calculator, worked, clubs, {"QX0ABC"});
  std::vector<std::string> order;
  for (const ChatRow& row : rows) {
    order.push_back(row.call);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"QX2CD", "QX1AB", "QX3EF", "QX4GH"}));
  const ChatRow& own_square = rows[2];
  EXPECT_EQ(own_square.km, 1);
  EXPECT_EQ(own_square.points, 2);
  EXPECT_EQ(own_square.club, "I003");
  EXPECT_FALSE(rows[3].bearing.has_value());
  EXPECT_EQ(rows[3].points, 1);
  EXPECT_TRUE(rows[0].worked);
  EXPECT_EQ(rows[1].points, rows[1].km);
  EXPECT_EQ(ChatRowLine(rows[2]).substr(0, 33), "QX3EF      Cy             JN81GD ");
  EXPECT_TRUE(ChatRowLine(rows[2]).ends_with("I003      2"));

  const auto not_worked = ChatRows(users, calculator, worked, clubs, {"QX0ABC", false, true});
  ASSERT_EQ(not_worked.size(), 3U);
  EXPECT_EQ(not_worked[0].call, "QX1AB");  // by call
  // A new QSO marks its call worked.
  worked_qso.call = "QX1AB";
  log.Log(worked_qso);
  worked.Follow(log, {LogChange::kLogged, 1, 1});
  EXPECT_TRUE(worked.Has("QX1AB"));
}

}  // namespace
}  // namespace keldra
