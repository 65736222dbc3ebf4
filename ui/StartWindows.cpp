#include "ui/StartWindows.h"

#include "ui/Form1.h"
#include "ui/Form12.h"
#include "ui/Form3.h"
#include "ui/Form5.h"

namespace keldra {
namespace {

template <class F>
bool Shown(Program& program) {
  const F* form = program.Find<F>();
  return form != nullptr && form->Visible();
}

}  // namespace

void EndIfNothingShown(Program& program) {
  if (Shown<Form1>(program) || Shown<Form3>(program) || Shown<Form5>(program) ||
      Shown<Form12>(program)) {
    return;
  }
  program.End();
}

}  // namespace keldra
