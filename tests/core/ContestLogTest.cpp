#include <gtest/gtest.h>

#include "core/ContestLog.h"
#include "core/QsoRecord.h"
#include "support/TextTotals.h"

namespace keldra {
namespace {

LoggedQso Qso(long long serial, std::string call, std::string locator, long long km,
              std::string club = "", QsoMode mode = QsoMode::kSsb) {
  const std::string report = mode == QsoMode::kSsb ? "59" : "599";
  return LoggedQso{serial, "16/07/23",         "08.15",         "144",
                   mode,   std::move(call),    report,          report,
                   "012",  std::move(locator), std::move(club), km};
}

// Records every change the log tells.
struct Recorder {
  std::vector<LogEvent> events;
  void Attach(ContestLog& log) {
    log.Observe([this](const LogEvent& e) { events.push_back(e); });
  }
};

TEST(ContestLogTest, TypedTotalsMatchTheTextRuleQsoByQso) {
  // Own subsquare (1 km), a club member, an equal distance, a longer one, a CW one with MQC.
  const std::vector<LoggedQso> qsos = {
      Qso(1, "QX1ABC", "JN81GD", 1), Qso(2, "QX2DEF", "JN71AA", 100, "I003"),
      Qso(3, "QX3GHI", "JN61AA", 100, "M12"), Qso(4, "QX9Z", "IN52PE", 524),
      Qso(5, "QX5CW", "JN91GD", 167, "M600", QsoMode::kCw)};
  LogTotals typed;
  ContestTotals text;
  for (const LoggedQso& q : qsos) {
    typed = WithQso(typed, q);
    const std::string indicator = q.km == 1 ? "1" : " " + std::to_string(q.km);
    text = AddQso(text, ScoredQso{indicator, q.call, q.locator, q.club_code});
    EXPECT_EQ(TotalsText(typed), text) << q.call;
    EXPECT_EQ(TotalsOfText(text), typed) << q.call;
  }
  EXPECT_EQ(TotalsText(LogTotals{}), ContestTotals{});
}

TEST(ContestLogTest, LoggingAppendsBothLinesMovesTheSerialAndTellsObservers) {
  ContestLog log;
  Recorder recorder;
  recorder.Attach(log);
  log.Log(Qso(5, "QX1ABC", "JN81GD", 523, "I003"));
  log.Log(Qso(6, "QX2CW", "JN71GD", 168, "", QsoMode::kCw));

  EXPECT_EQ(log.QsoListText(),
            "005   16/07/23   08.15   144Mhz   SSB   QX1ABC      59-012   JN81GD   I003\r\n"
            "006   16/07/23   08.15   144Mhz   CW    QX2CW       599-012  JN71GD   \r\n");
  EXPECT_EQ(log.EdiRecordsText(),
            "230716;0815;QX1ABC;1;59;005;59;012;I003;JN81GD;523;;;;\r\n"
            "230716;0815;QX2CW;0;599;006;599;012;;JN71GD;168;;;;\r\n");
  EXPECT_EQ(log.NextSerial(), 7);
  EXPECT_EQ(log.State().serial, "007");
  EXPECT_EQ(log.Totals().points, 523 * 2 + 168);
  ASSERT_EQ(recorder.events.size(), 2u);
  EXPECT_EQ(recorder.events[1].change, LogChange::kLogged);
  EXPECT_EQ(recorder.events[1].first, 1u);
  EXPECT_EQ(recorder.events[1].count, 1u);
}

TEST(ContestLogTest, ASavedContestLoadsBackToTheSameFileBytesAndQsos) {
  ContestLog written;
  written.Log(Qso(1, "QX1ABC", "JN81GD", 1));
  written.Log(Qso(2, "QX12345678901", "JN71GD", 168, "M123"));
  LoggedQso six_metres = Qso(3, "QX3SIX", "JN91GD", 167);
  six_metres.band = "50";
  written.Log(six_metres);
  const std::string bytes = StateFileText(written.State());

  ContestLog read;
  Recorder recorder;
  recorder.Attach(read);
  read.Load(ReadStateFile(bytes));
  EXPECT_EQ(StateFileText(read.State()), bytes);
  ASSERT_EQ(read.Entries().size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(read.Entries()[i].qso, written.Entries()[i].qso) << i;
  }
  EXPECT_EQ(read.Totals(), written.Totals());
  EXPECT_EQ(read.State().odx_km, " 168");
  ASSERT_EQ(recorder.events.size(), 1u);
  EXPECT_EQ(recorder.events[0].change, LogChange::kLoaded);
  EXPECT_EQ(recorder.events[0].count, 3u);

  // A second load appends, as resuming twice always has.
  read.Load(ReadStateFile(bytes));
  EXPECT_EQ(read.Entries().size(), 6u);
  EXPECT_EQ(read.QsoListText(), written.QsoListText() + written.QsoListText());
}

TEST(ContestLogTest, DamagedLinesAreKeptAsReadButRecordNoQso) {
  ContestLog log;
  log.Load(
      ReadStateFile("QSO# 7\r\nCONTEST_QSO 3\r\nCONTEST_ODX_QRB  523\r\n"
                    "LISTA_QSO 001 A\r\nLISTA_QSO 002 B\r\n"
                    "QSO_EDI 230716;0815;QX1ABC;1;59;001;59;012;;JN81GD;523;;;;\r\n"));
  ASSERT_EQ(log.Entries().size(), 2u);
  EXPECT_TRUE(log.Entries()[0].qso.has_value());  // the record carries every field
  EXPECT_EQ(log.Entries()[0].qso->band, "144");   // its list line has no band
  EXPECT_FALSE(log.Entries()[1].qso.has_value());
  EXPECT_FALSE(log.Entries()[1].record_line.has_value());
  EXPECT_EQ(log.QsoListText(), "001 A\r\n002 B\r\n");
  EXPECT_EQ(log.State().serial, "007");
  EXPECT_EQ(log.State().qsos, "3");
  EXPECT_EQ(log.State().odx_km, " 523");
  EXPECT_FALSE(log.Correct(1, Qso(2, "QX2", "JN81GD", 5)));
}

TEST(ContestLogTest, ACorrectionRemakesBothLinesAndTheTotalsButKeepsTheCount) {
  ContestLog log;
  log.Log(Qso(1, "QX1ABC", "JN81GD", 523));
  log.Log(Qso(2, "QX2DEF", "JN71GD", 168));
  Recorder recorder;
  recorder.Attach(log);

  LoggedQso corrected = log.Entries()[0].qso.value();
  corrected.call = "QX1ABD";
  corrected.club_code = "I003";
  corrected.km = 100;
  ASSERT_TRUE(log.Correct(0, corrected));
  EXPECT_EQ(log.Entries()[0].record_line, "230716;0815;QX1ABD;1;59;001;59;012;I003;JN81GD;100;;;;");
  EXPECT_EQ(log.QsoListText().substr(0, log.QsoListText().find('\r')),
            "001   16/07/23   08.15   144Mhz   SSB   QX1ABD      59-012   JN81GD   I003");
  EXPECT_EQ(log.NextSerial(), 3);
  const LogTotals t = log.Totals();
  EXPECT_EQ(t.qsos, 2);
  EXPECT_EQ(t.km, 268);
  EXPECT_EQ(t.points, 368);
  EXPECT_EQ(t.multipliers, 1);
  EXPECT_EQ(t.odx_call, "QX2DEF");
  ASSERT_EQ(recorder.events.size(), 1u);
  EXPECT_EQ(recorder.events[0].change, LogChange::kCorrected);
  EXPECT_EQ(recorder.events[0].first, 0u);
  EXPECT_FALSE(log.Correct(2, corrected));
}

// The file form of the lists and the logged calls are kept beside the texts: after every change
// they must give what the texts give.
void ExpectKeptFormsMatchTheTexts(const ContestLog& log, const std::string& step, int logged) {
  EXPECT_EQ(log.StateFileText(), StateFileText(log.State())) << step;
  int found = 0;
  for (const char* call : {"", "QX1ABC", "QX1AB", "QX2DEF", "QX7LD", "QX7L"}) {
    EXPECT_EQ(log.HasCall(call), ListHasCall(log.QsoListText(), call)) << step << ' ' << call;
    found += log.HasCall(call) ? 1 : 0;
  }
  EXPECT_EQ(found, logged) << step;
}

TEST(ContestLogTest, SavedBytesAndLoggedCallsFollowEveryChange) {
  ContestLog log;
  log.Load(ReadStateFile("QSO# 4\r\nQSO_EDI x;y\r\n"));  // records only: nothing to save
  ExpectKeptFormsMatchTheTexts(log, "records only", 0);
  log.Log(Qso(1, "QX1ABC", "JN81GD", 523));
  LoggedQso split = Qso(2, "QX2DEF", "JN71GD", 168);
  // Two lines of the file; the second shows no call where the check looks for it.
  split.date = "16\r\n07/2";
  log.Log(split);
  ExpectKeptFormsMatchTheTexts(log, "logged", 1);
  // A damaged file: list lines ending in CR (one right after its call, which the CR then ends), one
  // recording no QSO, more records than list lines.
  log.Load(ReadStateFile(
      "LISTA_QSO 003   16/07/23   08.15   144Mhz   SSB   QX7LD       59-012   JN81GD   \r\r\n"
      "LISTA_QSO 004 A B C SSB QX7L\r\r\nQSO_EDI x\r\nQSO_EDI y\r\nQSO_EDI z\r\n"));
  ExpectKeptFormsMatchTheTexts(log, "loaded", 2);
  LoggedQso corrected = log.Entries()[1].qso.value();
  corrected.call = "QX1AB";
  ASSERT_TRUE(log.Correct(1, corrected));
  ExpectKeptFormsMatchTheTexts(log, "corrected", 2);
}

TEST(ContestLogTest, AnObserverMayForgetItselfWhileBeingTold) {
  ContestLog log;
  int told = 0;
  int id = 0;
  id = log.Observe([&](const LogEvent&) {
    ++told;
    log.Forget(id);
  });
  log.Log(Qso(1, "QX1ABC", "JN81GD", 523));
  log.Log(Qso(2, "QX2DEF", "JN71GD", 168));
  EXPECT_EQ(told, 1);
}

}  // namespace
}  // namespace keldra
