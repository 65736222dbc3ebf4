// Start-up, activation, on-line/off-line mode, the buttons that open other windows, and the end
// of the program.
#include "ui/Form1.h"

namespace keldra {

void Form1::Form1_Load() { Show(); }

void Form1::Form1_Activate() {}

void Form1::Form1_Unload() {}

void Form1::Form1_Command2_Click() {}

void Form1::Form1_Command3_Click() { program_.End(); }

void Form1::Form1_Command7_Click() {}

void Form1::Form1_Command9_Click() {}

void Form1::Form1_Label39_Change() {}

void Form1::Form1_Text15_Change() {}

}  // namespace keldra
