// The call history in the main window. It is read in the background at start-up, and the window
// works without it meanwhile. Reaching an empty locator field with a known call puts in the
// newest known locator, all selected, so that Enter accepts it and typing replaces it; the line
// under the entry row tells where it came from, F12 moves to the next known one, and a typed
// locator that differs shows the known one in red. While the callsign is typed, the known calls
// holding it are listed beside the QSO list. None of this writes a file.
#include <algorithm>
#include <memory>

#include "core/Text.h"
#include "data/HistoryFiles.h"
#include "system/CodePage.h"
#include "ui/HistoryHint.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

constexpr std::size_t kKnownCallsShown = 10;
constexpr std::size_t kKnownCallsFrom = 3;  // typed characters

// Each file with what was read from it, for the tooltip of the status line.
std::string FileDetails(const HistoryLoad& load) {
  std::string details;
  for (const HistoryFileRead& f : load.files) {
    if (!details.empty()) {
      details += "\n";
    }
    const std::u8string name = f.path.filename().u8string();
    details += Utf8ToCp1252(std::string(name.begin(), name.end())) + ": ";
    if (!f.status) {
      details += "illeggibile";
      continue;
    }
    details += std::to_string(f.read) + " lette, " + std::to_string(f.skipped) + " scartate";
    if (f.cut) {
      details += ", letto in parte";
    }
  }
  return details;
}

}  // namespace

void MainWindow::LayoutHistory() {
  Place(history_line, 8, 130, 368, 22);
  history_line.SetFont({.bold = true});
  Place(known_calls_heading, 708, 158, 146, 18);
  known_calls_heading.SetFont({.bold = true});
  // Sized to its lines as they are shown, so the list stands at the top.
  Place(known_calls, 708, 178, 146, 0);
  known_calls.SetFont({.points = 10, .fixed_pitch = true});
  Place(history_status, 708, 566, 146, 76);
  history_status.SetWordWrap(true);
  history_status.SetFont({.points = 8});
  history_status.SetForeColor({90, 90, 90});
}

void MainWindow::StartHistoryLoad() {
  history_status.SetCaption("Storico: lettura in corso");
  auto load = std::make_shared<HistoryLoad>();
  const Files& files = program_.Disk();
  Program& program = program_;
  program_.Tasks().Run(
      [load, &files, folder = program_.Folder()] { *load = LoadHistory(files, folder); },
      [load, &program] {
        if (auto* main = program.Find<MainWindow>()) {
          main->OnHistoryLoaded(std::move(*load));
        } else {
          program.History().SetFiles(std::move(load->history));
        }
      });
}

void MainWindow::OnHistoryLoaded(HistoryLoad load) {
  history_status.SetCaption(HistorySummary(load));
  history_status.SetToolTip(FileDetails(load));
  program_.History().SetFiles(std::move(load.history));
  // The operator may have typed on meanwhile.
  ShowKnownCalls();
  ShowHistoryLine();
}

const StationHistory& MainWindow::History() {
  const std::vector<ContestLog::Entry>& entries = program_.Contest().Entries();
  const bool whole = contest_history_stale_ || entries.size() < contest_history_entries_;
  if (whole || entries.size() > contest_history_entries_) {
    std::vector<HistoryEntry> qsos;
    for (std::size_t i = whole ? 0 : contest_history_entries_; i < entries.size(); ++i) {
      if (const std::optional<LoggedQso>& qso = entries[i].qso) {
        // The log's "dd/mm/yy" as the history's yymmdd.
        const std::string date = Mid(qso->date, 7, 2) + Mid(qso->date, 4, 2) + Left(qso->date, 2);
        qsos.push_back({qso->call, qso->locator, ParseHistoryDate(date)});
      }
    }
    // A QSO logged is added; a correction builds the contest's history again.
    if (whole) {
      program_.History().SetContest(std::move(qsos));
    } else {
      program_.History().AddToContest(qsos);
    }
    contest_history_entries_ = entries.size();
    contest_history_stale_ = false;
  }
  return program_.History();
}

std::vector<KnownLocator> MainWindow::KnownLocators() {
  return History().Locators(Trim(call.Text()));
}

void MainWindow::ShowKnownCalls() {
  const std::string typed = Trim(call.Text());
  std::string shown;
  if (typed.size() >= kKnownCallsFrom) {
    for (const std::string& known : History().Matching(typed, kKnownCallsShown)) {
      if (!shown.empty()) {
        shown += "\n";
      }
      shown += known;
      if (History().Worked(known)) {
        shown += "  in log";
      }
    }
  }
  known_calls.SetCaption(shown);
  const auto rows = static_cast<int>(std::count(shown.begin(), shown.end(), '\n')) + 1;
  known_calls.Move(known_calls.Left(), known_calls.Top(), known_calls.Width(),
                   shown.empty() ? 0 : Px(rows * 17 + 4));
}

void MainWindow::ShowHistoryLine() {
  HistoryHint hint;
  if (!locator.Text().empty() || locator.HasFocus()) {
    hint = DescribeHistory(KnownLocators(), locator.Text());
  }
  history_line.SetForeColor(hint.differs ? kHistoryDiffers : kBlack);
  history_line.SetCaption(hint.text);
}

void MainWindow::FillKnownLocator() {
  if (!locator.Text().empty()) {
    return;
  }
  const std::vector<KnownLocator> known = KnownLocators();
  if (known.empty()) {
    return;
  }
  locator.SetText(known.front().locator);
  locator.SelectAll();
}

void MainWindow::OnLocatorKeyDown(int key_code, bool& handled) {
  if (key_code != kSwapKnownLocatorKey) {
    OnEntryRowKeyDown(locator, key_code, handled);
    return;
  }
  handled = true;
  if (const auto next = NextKnownLocator(KnownLocators(), locator.Text())) {
    locator.SetText(*next);
    locator.SelectAll();
  }
}

}  // namespace keldra
