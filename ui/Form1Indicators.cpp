// Resuming a contest, the pointing display, the award indicator and scrolling the QSO list.
#include "ui/Form1.h"

namespace keldra {

void Form1::Form1_Command4_Click() {}
void Form1::Form1_Command8_Click() {}
void Form1::Form1_Label13_Change() {}
void Form1::Form1_Label15_Change() {}
void Form1::Form1_Label51_Change() {}

}  // namespace keldra
