// A program started as the operator starts it, on a folder the test prepares first (station file,
// contest file, backup), with a disk that can be made to refuse every write, as a read-only
// folder does.
#pragma once

#include <string>

#include "TestSupport.h"
#include "system/CodePage.h"
#include "ui/MainWindow.h"

namespace keldra::testing {

inline constexpr const char* kStationFile =
    "Call = QX0ABC\r\nLocator = JN71AB\r\nIQRP = 003\r\nMQC = \r\n";

// A disk on which creating a file is refused, as in a read-only folder, and on which one named
// file can be made unreadable.
class ReadOnlyDisk : public Files {
 public:
  bool read_only = false;
  std::string unreadable;

 protected:
  std::error_code InjectRead(const fs::path& path) const override {
    if (!unreadable.empty() && path.filename() == unreadable) {
      return std::make_error_code(std::errc::io_error);
    }
    return {};
  }
  std::error_code Inject(WriteStep step) override {
    if (read_only && step == WriteStep::kCreateTemp) {
      return std::make_error_code(std::errc::permission_denied);
    }
    return {};
  }
};

class StartupTest : public ProgramTest {
 protected:
  // Starts the program as main() does; the main window decides what is shown.
  MainWindow& Start() {
    program_ = std::make_unique<Program>(messages_, clock_, folder_.path(), &disk_);
    program_->Start();
    return program_->Get<MainWindow>();
  }

  template <class F>
  bool Shown() {
    const F* form = program_->Find<F>();
    return form != nullptr && form->Visible();
  }

  std::string Focused() const {
    const Control* c = program_->Desktop().ActiveControl();
    return c == nullptr ? "(none)" : c->Parent().Name() + "." + c->Name();
  }

  ReadOnlyDisk disk_;
};

}  // namespace keldra::testing
