// Saving a log the operator named (the EDI log, the ADIF log) into the program folder: the one
// place that makes the name safe, refuses the program's own files and reports the outcome.
#pragma once

#include <string>

namespace keldra {

class Program;
class TextBox;

// Saves `text` under the name in `file_name`, made safe first (the field then shows the safe
// name). Nothing happens when `text` is empty. A refused name is explained and the field gets the
// focus; the write is atomic and durable, and a failure is reported as a critical message naming
// the reason. `log` names the log in the messages ("Il Log ADIF").
void SaveLogAs(Program& program, TextBox& file_name, const std::string& text,
               const std::string& log);

}  // namespace keldra
