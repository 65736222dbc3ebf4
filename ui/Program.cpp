#include "ui/Program.h"

#include "ui/AdifSaveWindow.h"
#include "ui/AdministrationWindow.h"
#include "ui/BearingCalculatorWindow.h"
#include "ui/ClubAwardWindow.h"
#include "ui/ClubManagementWindow.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/EdiSaveWindow.h"
#include "ui/MainWindow.h"
#include "ui/MapWindow.h"
#include "ui/QsoEditWindow.h"
#include "ui/RadioWindow.h"
#include "ui/ReportWindow.h"
#include "ui/RestoreWindow.h"
#include "ui/StartWindow.h"
#include "ui/StationWindow.h"
#include "ui/StatisticsWindow.h"

namespace keldra {

Program::Program(MessageBox& messages, Clock& clock, std::filesystem::path folder, Files* files)
    : messages_(messages), clock_(clock), files_(files), folder_(std::move(folder)) {
  if (files_ == nullptr) {
    own_files_ = std::make_unique<Files>();
    files_ = own_files_.get();
  }
  screen_.OnFormUnloaded = [this](Form& form) { Forget(form); };
}

Program::~Program() { screen_.SetObserver(nullptr); }

void Program::Message(const std::string& text, MessageIcon icon, const std::string& title) {
  messages_.Show(text, title, icon);
}

void Program::Start() { Get<MainWindow>(); }

void Program::Forget(Form& form) {
  for (auto it = live_.begin(); it != live_.end(); ++it) {
    if (it->second == &form) {
      live_.erase(it);
      return;
    }
  }
}

void Program::End() {
  if (ended_) {
    return;
  }
  ended_ = true;
  // The main window closes last: the others may still read it as they go.
  UnloadIfLoaded<BearingCalculatorWindow, EdiHeaderWindow, StationWindow, EdiSaveWindow,
                 AdifSaveWindow, StartWindow, QsoEditWindow, StatisticsWindow, ReportWindow,
                 ClubAwardWindow, AdministrationWindow, ClubManagementWindow, RestoreWindow,
                 MapWindow, RadioWindow, MainWindow>();
  // A window missing from the list above closes after them all.
  while (!live_.empty()) {
    live_.begin()->second->Unload();
  }
  if (OnEnd) {
    OnEnd();
  }
}

}  // namespace keldra
