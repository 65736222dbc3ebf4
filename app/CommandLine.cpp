#include "app/CommandLine.h"

#include "system/ContestFolder.h"

namespace keldra {
namespace {

// An option's value: written after '=' or as the next argument, unless that is another option.
std::string TakeValue(const std::vector<std::string>& arguments, std::size_t& i,
                      const std::string& option) {
  const std::string& a = arguments[i];
  if (a.size() > option.size()) {
    return a.substr(option.size() + 1);
  }
  if (i + 1 < arguments.size() && !arguments[i + 1].starts_with("--")) {
    return arguments[++i];
  }
  return {};
}

// Arguments are UTF-8 on every system; a path made from a plain string would be read in the
// system's 8-bit code page on Windows.
std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool Is(const std::string& argument, const std::string& option) {
  return argument == option || argument.starts_with(option + "=");
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  // Every argument is read even after a mistake, so --help and --adif are seen wherever they are;
  // the first mistake is the one reported.
  auto fail = [&line](std::string error) {
    if (line.error.empty()) {
      line.error = std::move(error);
    }
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == "-h" || a == "--help" || a == "--aiuto") {
      line.help = true;
    } else if (a == "--version" || a == "--versione") {
      line.version = true;
    } else if (Is(a, "--cartella")) {
      const std::string value = TakeValue(arguments, i, "--cartella");
      if (value.empty()) {
        fail("--cartella vuole il nome di una cartella.");
      } else if (!line.folder.empty()) {
        fail("--cartella è indicata più di una volta.");
      } else {
        line.folder = PathOf(value);
      }
    } else if (Is(a, "--adif")) {
      // A missing file name is the ADIF command's to report, with its own status.
      if (line.adif) {
        fail("--adif è indicata più di una volta.");
      }
      line.adif = true;
      line.adif_file = PathOf(TakeValue(arguments, i, "--adif"));
    } else {
      fail("Argomento non riconosciuto: " + a + ".");
    }
  }
  return line;
}

// The program is GPL-3.0-or-later (LICENSE); both texts say so, as free programs do.
constexpr const char* kLicenceNotice =
    "Software libero, licenza GNU GPL versione 3 o successiva: nessuna garanzia.\n";

std::string HelpText() {
  return std::string(
             "Uso: keldra [--cartella CARTELLA] [--adif FILE.adi]\n"
             "\n"
             "Il registro del Keldra VHF QRP Test. Senza --adif apre la finestra principale.\n"
             "\n"
             "  --cartella CARTELLA  tiene i file del contest in CARTELLA, creandola se non\n"
             "                       esiste: la stazione (config.txt), il contest\n"
             "                       (parziale.db, backup.db), le liste dei soci (iqrp.txt,\n"
             "                       mqc.txt), i log EDI e ADIF e le statistiche.\n"
             "  --adif FILE.adi      scrive in FILE.adi il log ADIF del contest in corso\n"
             "                       (parziale.db e config.txt della cartella del contest)\n"
             "                       ed esce, senza finestre.\n"
             "  -h, --help           mostra questo aiuto ed esce.\n"
             "  --version            mostra la versione ed esce.\n"
             "\n") +
         FolderRuleHelp() +
         "\n"
         "Una cartella è aperta da una sola copia del programma alla volta: una seconda\n"
         "copia sulla stessa cartella non parte. Copie su cartelle diverse lavorano\n"
         "insieme.\n"
         "\n" +
         kLicenceNotice;
}

std::string VersionText() {
  return std::string("Keldra VHF QRP Test ") + KELDRA_VERSION +
         "\n"
         "Copyright (C) 2026 gli sviluppatori del registro Keldra.\n" +
         kLicenceNotice +
         "Si può ridistribuire e modificare secondo i termini della licenza:\n"
         "<https://www.gnu.org/licenses/gpl-3.0.html>.\n";
}

}  // namespace keldra
