// The sound card: the voice messages played into the rig's input and recorded from the
// microphone, 16-bit mono at the message's own rate (the system converts for the card). Every
// call blocks for at most about one period of sound (some tens of milliseconds), so the one
// thread that plays or records stays responsive to a stop; none of it ever runs on the
// user-interface thread. The calls are the system's own, one file per system (AudioPosix.cpp
// through ALSA, AudioWindows.cpp through waveOut/waveIn).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace keldra {

enum class AudioFailure { kNone, kNotFound, kBusy, kFormat, kGone, kOther };

// A device the system lists, as the operator chooses it; an empty id is the system's default.
struct AudioDeviceName {
  std::string id;     // what Open takes: an ALSA name ("plughw:CARD=CODEC,DEV=0"), a waveOut number
  std::string label;  // what to show (UTF-8)
  bool operator==(const AudioDeviceName&) const = default;
};

std::vector<AudioDeviceName> ListAudioOutputs();
std::vector<AudioDeviceName> ListAudioInputs();

class AudioOutput {
 public:
  AudioOutput();
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  AudioFailure Open(const std::string& device, int rate);
  // Queues the samples, waiting while the device's buffer is full.
  AudioFailure Write(const std::int16_t* samples, std::size_t count);
  // Waits until everything queued has been heard.
  AudioFailure Drain();
  // Silence at once: what is queued is dropped.
  void Abort();
  void Close();
  bool IsOpen() const;

  struct Device;

 private:
  std::unique_ptr<Device> device_;
};

class AudioInput {
 public:
  AudioInput();
  ~AudioInput();
  AudioInput(const AudioInput&) = delete;
  AudioInput& operator=(const AudioInput&) = delete;

  AudioFailure Open(const std::string& device, int rate);
  // Appends what the device recorded, up to `count` samples and at least one, waiting for it.
  AudioFailure Read(std::vector<std::int16_t>& into, std::size_t count);
  void Close();
  bool IsOpen() const;

  struct Device;

 private:
  std::unique_ptr<Device> device_;
};

// The failure in Italian words, naming the device (UTF-8).
std::string AudioFailureText(AudioFailure failure, const std::string& device);

}  // namespace keldra
