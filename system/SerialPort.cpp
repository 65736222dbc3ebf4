// What the serial port's failures mean to the operator, the same on every system.
#include "system/SerialPort.h"

namespace keldra {

std::string SerialFailureText(SerialFailure failure, const std::string& path) {
  switch (failure) {
    case SerialFailure::kNone:
      return {};
    case SerialFailure::kNotFound:
      return "La porta seriale " + path + " non esiste (il dispositivo è collegato?).";
    case SerialFailure::kBusy:
      return "La porta seriale " + path + " è già in uso da un altro programma.";
    case SerialFailure::kDenied:
      return "Non è permesso aprire la porta seriale " + path +
             " (su Linux l'utente deve far parte del gruppo dialout).";
    case SerialFailure::kSettings:
      return "La porta seriale " + path + " non accetta le impostazioni richieste.";
    case SerialFailure::kTimedOut:
      return "Il dispositivo sulla porta seriale " + path + " non risponde.";
    case SerialFailure::kGone:
      return "Il dispositivo sulla porta seriale " + path + " è stato scollegato.";
    case SerialFailure::kOther:
      break;
  }
  return "Errore sulla porta seriale " + path + ".";
}

}  // namespace keldra
