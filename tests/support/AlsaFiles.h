// ALSA's own `file` plugin as the tests' sound card: what is played on "keldra_play" (or the
// default card) lands in a file, and "keldra_rec" records what a file holds. The configuration is
// the tests' own (ALSA_CONFIG_PATH), set before the first ALSA call of the process.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace keldra::testing {

class AlsaFiles {
 public:
  static constexpr const char* kPlay = "keldra_play";
  static constexpr const char* kRecord = "keldra_rec";
  static constexpr const char* kMissing = "keldra_no_such_card";

  // `name` tells apart the sound cards of one test; one only is this process's own, the others
  // are for the programs it starts (with ALSA_CONFIG_PATH set to Config()).
  explicit AlsaFiles(const std::string& name = "", bool this_process = true)
      : folder_(std::filesystem::temp_directory_path() /
                ("keldra-alsa-" + std::to_string(getpid()) + name)) {
    std::filesystem::create_directories(folder_);
    const std::filesystem::path config = Config();
    std::ofstream(config) << "pcm." << kPlay << " { type file; slave.pcm { type null } file \""
                          << Played().string() << "\" format raw }\n"
                          << "pcm." << kRecord << " { type file; slave.pcm { type null } file \""
                          << (folder_ / "ignored.raw").string() << "\" infile \"" << Fed().string()
                          << "\" format raw }\n"
                          // The system's default card too, as a program left at "Predefinito"
                          // (and Wine's winmm) opens it.
                          << "pcm.!default { type file; slave.pcm { type null } file \""
                          << Played().string() << "\" format raw }\n";
    if (this_process) {
      setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
    }
    std::filesystem::remove(Played());
  }

  std::filesystem::path Config() const { return folder_ / "asound.conf"; }
  std::filesystem::path Played() const { return folder_ / "played.raw"; }
  std::filesystem::path Fed() const { return folder_ / "fed.raw"; }

  std::vector<std::int16_t> PlayedSamples() const {
    std::ifstream in(Played(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
      samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                             static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return samples;
  }
  std::uintmax_t PlayedBytes() const {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(Played(), error);
    return error ? 0 : size;
  }
  void Feed(const std::vector<std::int16_t>& samples) const {
    std::ofstream out(Fed(), std::ios::binary);
    for (const std::int16_t s : samples) {
      out.put(static_cast<char>(s & 0xFF)).put(static_cast<char>((s >> 8) & 0xFF));
    }
  }

 private:
  std::filesystem::path folder_;
};

// A sound that tells its samples apart (no two neighbours equal, both signs).
inline std::vector<std::int16_t> Ramp(std::size_t count, int step = 37) {
  std::vector<std::int16_t> samples(count);
  for (std::size_t i = 0; i < count; ++i) {
    samples[i] = static_cast<std::int16_t>(static_cast<int>(i * step % 60000) - 30000);
  }
  return samples;
}

// The played samples begin with `sound`; the device may round the end up with silence.
inline bool PlayedExactly(const std::vector<std::int16_t>& played,
                          const std::vector<std::int16_t>& sound) {
  if (played.size() < sound.size() || !std::equal(sound.begin(), sound.end(), played.begin())) {
    return false;
  }
  return std::all_of(played.begin() + static_cast<std::ptrdiff_t>(sound.size()), played.end(),
                     [](std::int16_t s) { return s == 0; });
}

}  // namespace keldra::testing
