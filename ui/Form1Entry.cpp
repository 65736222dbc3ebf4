// The entry row as the operator types it: moving on with Enter or Space, each field normalising
// its own text.
#include "ui/Form1.h"

namespace keldra {

void Form1::Form1_Text1_Change() {}
void Form1::Form1_Text2_LostFocus() {}
void Form1::Form1_Text3_Change() {}
void Form1::Form1_Text3_LostFocus() {}
void Form1::Form1_Text5_KeyDown(int key_code, bool& handled) { EntryRow_KeyDown(Text5, key_code, handled); }
void Form1::Form1_Text6_Change() {}
void Form1::Form1_Text9_GotFocus() { EntryRow_GotFocus(Text9); }
void Form1::Form1_Text9_LostFocus() {}
void Form1::Form1_Text10_Change() {}
void Form1::Form1_Text10_GotFocus() { EntryRow_GotFocus(Text10); }
void Form1::Form1_Text11_Change() {}

void Form1::EntryRow_KeyDown(TextBox& field, int key_code, bool& handled) {
  if (key_code != key::kEnter && key_code != key::kSpace) return;
  handled = true;
  TextBox* const row[] = {&Text2, &Text3, &Text4, &Text5, &Text6,
                          &Text7, &Text8, &Text9, &Text10, &Text11};
  for (std::size_t i = 0; i + 1 < std::size(row); ++i) {
    if (row[i] == &field) {
      row[i + 1]->SetFocus();
      return;
    }
  }
  Command1.SetFocus();
}

void Form1::EntryRow_GotFocus(TextBox& field) { field.CaretToEnd(); }

}  // namespace keldra
