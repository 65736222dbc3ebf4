#include "app/CommandLine.h"

namespace keldra {

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  const std::string folder_option = "--cartella";
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == "-h" || a == "--help" || a == "--aiuto") {
      line.help = true;
    } else if (a == "--version" || a == "--versione") {
      line.version = true;
    } else if (a == "--adif") {
      line.adif = i + 1 < arguments.size() ? arguments[++i] : std::string();
    } else if (a == folder_option || a.starts_with(folder_option + "=")) {
      std::string value;
      if (a == folder_option) {
        if (i + 1 < arguments.size()) value = arguments[++i];
      } else {
        value = a.substr(folder_option.size() + 1);
      }
      if (value.empty()) {
        line.error = "--cartella vuole il nome di una cartella.";
      } else if (!line.folder.empty()) {
        line.error = "--cartella è indicata più di una volta.";
      } else {
        line.folder = value;
      }
    } else {
      line.error = "Argomento non riconosciuto: " + a + ".";
    }
    if (!line.error.empty()) break;
  }
  return line;
}

std::string HelpText() {
  return "Uso: keldra [--cartella CARTELLA] [--adif FILE.adi]\n"
         "\n"
         "Il registro del Keldra VHF QRP Test.\n"
         "\n"
         "  --cartella CARTELLA  tiene i file del contest in CARTELLA, creandola se non\n"
         "                       esiste: la stazione (config.txt), il contest\n"
         "                       (parziale.db, backup.db), le liste dei soci (iqrp.txt,\n"
         "                       mqc.txt), i log EDI e le statistiche.\n"
         "  --adif FILE.adi      scrive in FILE.adi il log ADIF del contest della cartella\n"
         "                       (parziale.db, con nominativo e locatore di config.txt)\n"
         "                       ed esce, senza aprire finestre.\n"
         "  -h, --help           mostra questo aiuto ed esce.\n"
         "  --version            mostra la versione ed esce.\n"
         "\n"
         "Senza --cartella i file stanno nella cartella del programma, se vi si può\n"
         "scrivere e non è una copia installata da un pacchetto; altrimenti nella\n"
         "cartella dei dati dell'utente, $XDG_DATA_HOME/keldra (di solito\n"
         "~/.local/share/keldra), creata al primo avvio. Il programma non legge né\n"
         "scrive in nessun'altra cartella; la finestra principale mostra quella in uso\n"
         "(passando il mouse sul titolo).\n"
         "\n"
         "Una cartella è aperta da una sola copia del programma alla volta: una seconda\n"
         "copia sulla stessa cartella non parte. Copie su cartelle diverse lavorano\n"
         "insieme.\n";
}

std::string VersionText() { return std::string("Keldra VHF QRP Test ") + KELDRA_VERSION + "\n"; }

}  // namespace keldra
