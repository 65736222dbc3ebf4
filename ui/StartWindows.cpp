#include "ui/StartWindows.h"

#include "ui/MainWindow.h"
#include "ui/RestoreWindow.h"
#include "ui/StartWindow.h"
#include "ui/StationWindow.h"

namespace keldra {
namespace {

template <class F>
bool Shown(Program& program) {
  const F* form = program.Find<F>();
  return form != nullptr && form->Visible();
}

}  // namespace

void EndIfNothingShown(Program& program) {
  if (Shown<MainWindow>(program) || Shown<StationWindow>(program) || Shown<StartWindow>(program) ||
      Shown<RestoreWindow>(program)) {
    return;
  }
  program.End();
}

}  // namespace keldra
