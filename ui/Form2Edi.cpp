// "Crea EDI" of the EDI header window: runs the EDI writer and opens the save window.
#include "ui/Form2.h"

namespace keldra {

void Form2::Form2_Command2_Click() {}

}  // namespace keldra
