// Hamlib's daemons (rigctld, rotctld) found on this PC and run by the program, so the operator
// chooses the rig and rotator by model and serial port as with the device library itself: where
// the daemons are looked for and which one is taken, what their version and model lists say,
// the arguments each is started with, and its last words put in Italian when it stops.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "radio/Radio.h"

namespace keldra {

// The model numbers in radio.txt are Hamlib 4's: a daemon of another major version means other
// devices by the same numbers.
inline constexpr int kHamlibMajor = 4;
inline constexpr const char* kHamlibDownload = "https://github.com/Hamlib/Hamlib/releases";

struct HamlibVersion {
  int major = 0;
  int minor = 0;
  int patch = 0;
  std::string Text() const;
  bool operator==(const HamlibVersion&) const = default;
};

// "rigctl Hamlib 4.5.4 Jan 10 01:31:41Z 2023 SHA=921cc5", "rigctld Hamlib 4.6"; nothing when
// the output names no Hamlib version.
std::optional<HamlibVersion> ParseHamlibVersion(std::string_view output);

struct ModelList {
  std::vector<DeviceModel> models;  // sorted by name, as the device library's own lists
  int skipped = 0;                  // lines that named no model
};

// The table of `rigctld -l` or `rotctld -l`: a heading, then one model a line ("  1047  Yaesu
// FT-650  20220525.0  Stable  RIG_MODEL_FT650"); maker and model may hold blanks.
ModelList ParseModelList(std::string_view output);

// Where the daemons are looked for, in order: the folder the operator named (and its bin), the
// program's own folder, each Hamlib folder under Program Files (the newest version first, its bin
// before itself), then PATH.
struct HamlibPlaces {
  std::filesystem::path chosen;
  std::filesystem::path program_folder;
  // Each Program Files folder with the names of the folders in it.
  std::vector<std::pair<std::filesystem::path, std::vector<std::string>>> installed;
  std::vector<std::filesystem::path> path;
};
std::vector<std::filesystem::path> HamlibFolders(const HamlibPlaces& places);
// The places of this PC, with the operator's folder.
HamlibPlaces HamlibPlacesHere(const std::filesystem::path& chosen);

struct HamlibFound {
  std::filesystem::path rigctld;  // empty: none usable
  std::filesystem::path rotctld;
  HamlibVersion version;
  std::string problem;  // why none was taken (Italian, UTF-8)
  // For the settings window: the version and folder, or where to get Hamlib for Windows.
  std::string Status() const;
};

// The first folder holding rigctld whose version is Hamlib's major; rotctld beside it.
HamlibFound FindHamlib(const std::vector<std::filesystem::path>& folders);

// The model list a daemon prints (`-l`); empty when it cannot be run.
ModelList ReadModels(const std::filesystem::path& daemon);

// A daemon started for a device on a serial port, listening on this loopback port only.
std::vector<std::string> DaemonArguments(const DeviceLink& link, int port);

// What a daemon's standard error says when it stopped, in Italian with its own last line:
// `daemon` "rigctld", `port` the device's serial port.
std::string StoppedDaemonText(const std::string& daemon, const std::string& port,
                              std::string_view errors);

}  // namespace keldra
