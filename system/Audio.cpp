#include "system/Audio.h"

namespace keldra {

std::string AudioFailureText(AudioFailure failure, const std::string& device) {
  const std::string name = device.empty() ? "predefinito" : device;
  switch (failure) {
    case AudioFailure::kNone:
      return {};
    case AudioFailure::kNotFound:
      return "Dispositivo audio " + name + " non trovato.";
    case AudioFailure::kBusy:
      return "Dispositivo audio " + name + " occupato da un altro programma.";
    case AudioFailure::kFormat:
      return "Il dispositivo audio " + name + " non accetta questo formato.";
    case AudioFailure::kGone:
      return "Il dispositivo audio " + name + " non risponde più (scollegato?).";
    case AudioFailure::kOther:
      return "Errore del dispositivo audio " + name + ".";
  }
  return {};
}

}  // namespace keldra
