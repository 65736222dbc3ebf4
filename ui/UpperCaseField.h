// Code fields (callsigns, locators, club codes) keep themselves in upper case as they are typed.
#pragma once

#include <string>
#include <utility>

#include "system/CodePage.h"
#include "widgets/TextBox.h"

namespace keldra {

// Upper case with the caret at the end. Returns true when the text was rewritten: the rewrite has
// run the field's change handler again, which did the rest, so the caller stops.
inline bool RewroteUpperCase(TextBox& field) {
  std::string upper = ToUpper1252(field.Text());
  if (upper != field.Text()) {
    field.SetText(std::move(upper));
    return true;
  }
  field.CaretToEnd();
  return false;
}

}  // namespace keldra
