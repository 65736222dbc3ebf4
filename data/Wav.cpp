#include "data/Wav.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace keldra {
namespace {

constexpr int kPcm = 1;
constexpr int kFloat = 3;
constexpr int kExtensible = 0xFFFE;

std::uint32_t U32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

int U16(std::string_view b, std::size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) {
    out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
}

void PutU16(std::string& out, int v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

struct Format {
  int tag = 0;
  int channels = 0;
  int rate = 0;
  int bits = 0;
  int block = 0;
};

// One sample of one channel as a signed value scaled to 32 bits, for mixing.
std::int64_t SampleAt(std::string_view b, std::size_t at, const Format& f) {
  const int bytes = f.bits / 8;
  if (f.tag == kFloat) {
    const std::uint32_t raw = U32(b, at);
    float v = 0;
    std::memcpy(&v, &raw, sizeof v);
    if (!std::isfinite(v)) {
      return 0;
    }
    return static_cast<std::int64_t>(std::clamp(v, -1.0F, 1.0F) * 2147483647.0F);
  }
  if (bytes == 1) {  // 8-bit WAV is unsigned
    return (static_cast<std::int64_t>(static_cast<unsigned char>(b[at])) - 128) << 24;
  }
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) {
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i]))
         << (32 - 8 * bytes + 8 * i);
  }
  return static_cast<std::int32_t>(v);
}

std::optional<WavProblem> CheckFormat(const Format& f) {
  if (f.tag != kPcm && f.tag != kFloat) {
    return WavProblem::kUnsupported;
  }
  const bool pcm_bits = f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32;
  if ((f.tag == kPcm && !pcm_bits) || (f.tag == kFloat && f.bits != 32) || f.channels < 1 ||
      f.channels > 8 || f.rate < 4000 || f.rate > 192000 || f.block != f.channels * f.bits / 8) {
    return WavProblem::kUnsupported;
  }
  return std::nullopt;
}

}  // namespace

WavRead ReadWav(std::string_view b) {
  WavRead read;
  if (b.size() < 12 || b.substr(0, 4) != "RIFF" || b.substr(8, 4) != "WAVE") {
    // A file cut inside its header is still a WAV that was cut.
    const bool cut = b.size() < 12 && b.size() >= 4 && b.starts_with("RIFF");
    read.problem = cut ? WavProblem::kTruncated : WavProblem::kNotWav;
    return read;
  }
  std::optional<Format> format;
  std::size_t at = 12;
  while (at < b.size()) {
    if (b.size() - at < 8) {
      read.problem = WavProblem::kTruncated;
      return read;
    }
    const std::string_view id = b.substr(at, 4);
    const std::uint64_t size = U32(b, at + 4);
    const std::size_t body = at + 8;
    if (id == "fmt ") {
      if (size < 16 || b.size() - body < size) {
        read.problem = size < 16 ? WavProblem::kNotWav : WavProblem::kTruncated;
        return read;
      }
      Format f{U16(b, body), U16(b, body + 2),
               static_cast<int>(std::min<std::uint32_t>(U32(b, body + 4), 1U << 30)),
               U16(b, body + 14), U16(b, body + 12)};
      // The extensible header carries the real format in its sub-format's first two bytes.
      if (f.tag == kExtensible) {
        f.tag = size >= 40 ? U16(b, body + 24) : 0;
      }
      format = f;
      read.channels = f.channels;
      read.bits = f.bits;
      if (const auto problem = CheckFormat(f)) {
        read.problem = *problem;
        return read;
      }
    } else if (id == "data") {
      if (!format) {
        read.problem = WavProblem::kNotWav;
        return read;
      }
      if (b.size() - body < size) {
        read.problem = WavProblem::kTruncated;
        return read;
      }
      const std::size_t frames = size / static_cast<std::size_t>(format->block);
      if (frames >
          static_cast<std::size_t>(kMaxSoundSeconds) * static_cast<std::size_t>(format->rate)) {
        read.problem = WavProblem::kTooLong;
        return read;
      }
      read.sound.rate = format->rate;
      read.sound.samples.reserve(frames);
      const int step = format->bits / 8;
      for (std::size_t frame = 0; frame < frames; ++frame) {
        std::int64_t sum = 0;
        const std::size_t first = body + frame * static_cast<std::size_t>(format->block);
        for (int c = 0; c < format->channels; ++c) {
          sum += SampleAt(b, first + static_cast<std::size_t>(c * step), *format);
        }
        // The channels mixed, then the top 16 bits rounded to nearest.
        const std::int64_t mixed = sum / format->channels;
        const std::int64_t rounded = std::min<std::int64_t>((mixed + 0x8000) >> 16, 32767);
        read.sound.samples.push_back(static_cast<std::int16_t>(rounded));
      }
      return read;
    }
    // Chunks are padded to an even size.
    at = body + size + (size & 1);
  }
  // No data chunk: a header written by a recorder that stopped before any sound.
  read.problem = format ? WavProblem::kTruncated : WavProblem::kNotWav;
  return read;
}

std::string WavBytes(const Sound& sound) {
  const auto data = static_cast<std::uint32_t>(sound.samples.size() * 2);
  std::string out;
  out.reserve(44 + data);
  out += "RIFF";
  PutU32(out, 36 + data);
  out += "WAVEfmt ";
  PutU32(out, 16);
  PutU16(out, kPcm);
  PutU16(out, 1);
  PutU32(out, static_cast<std::uint32_t>(sound.rate));
  PutU32(out, static_cast<std::uint32_t>(sound.rate) * 2);
  PutU16(out, 2);
  PutU16(out, 16);
  out += "data";
  PutU32(out, data);
  for (const std::int16_t s : sound.samples) {
    PutU16(out, static_cast<std::uint16_t>(s));
  }
  return out;
}

std::string WavProblemText(WavProblem problem, const std::string& file_name) {
  switch (problem) {
    case WavProblem::kNone:
      return {};
    case WavProblem::kNotWav:
      return "Il file " + file_name + " non è un file WAV.";
    case WavProblem::kTruncated:
      return "Il file " + file_name + " è troncato (incompleto): registrare di nuovo il messaggio.";
    case WavProblem::kUnsupported:
      return "Il file " + file_name +
             " è in un formato WAV non riproducibile (compresso, o frequenza o bit non validi): "
             "salvarlo come PCM a 16 bit.";
    case WavProblem::kTooLong:
      return "Il file " + file_name + " è troppo lungo per un messaggio (oltre " +
             std::to_string(kMaxSoundSeconds / 60) + " minuti).";
  }
  return {};
}

std::string WavMissingText(const std::string& file_name) {
  return "Il file " + file_name + " non esiste: registrare il messaggio con Ctrl+Maiusc+F1..F4.";
}

}  // namespace keldra
