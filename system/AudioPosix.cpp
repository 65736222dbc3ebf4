// The sound card through ALSA. "default" goes through PulseAudio or PipeWire where they run; a
// card by name through plughw, which converts the rate and the channels for it.
#include <alsa/asoundlib.h>

#include <cerrno>
#include <cstring>

#include "system/Audio.h"

namespace keldra {
namespace {

// A period of about 20 ms and a buffer of about 100 ms: a stop is heard within a period or two,
// and a busy machine still keeps the card fed.
constexpr unsigned kLatencyMicroseconds = 100000;

AudioFailure FailureOf(int error) {
  switch (-error) {
    case ENOENT:
    case ENXIO:
      return AudioFailure::kNotFound;
    case EBUSY:
    case EAGAIN:
      return AudioFailure::kBusy;
    case EINVAL:
      return AudioFailure::kFormat;
    case ENODEV:
    case EBADFD:
    case ESHUTDOWN:
    case EIO:
      return AudioFailure::kGone;
    default:
      return AudioFailure::kOther;
  }
}

// ALSA prints its own errors on stderr; the program says them in its own words.
void Quiet(const char*, int, const char*, int, const char*, ...) {}

snd_pcm_t* OpenPcm(const std::string& device, int rate, snd_pcm_stream_t stream,
                   AudioFailure& failure) {
  static const bool quiet = (snd_lib_error_set_handler(&Quiet), true);
  (void)quiet;
  snd_pcm_t* pcm = nullptr;
  const std::string name = device.empty() ? "default" : device;
  int error = snd_pcm_open(&pcm, name.c_str(), stream, 0);
  if (error < 0) {
    failure = FailureOf(error);
    return nullptr;
  }
  error = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                             static_cast<unsigned>(rate), 1, kLatencyMicroseconds);
  if (error < 0) {
    snd_pcm_close(pcm);
    failure = error == -EINVAL ? AudioFailure::kFormat : FailureOf(error);
    return nullptr;
  }
  failure = AudioFailure::kNone;
  return pcm;
}

// After an underrun or a suspend the stream is prepared again; a device that went away is not.
bool Recovered(snd_pcm_t* pcm, long error) {
  if (error == -ENODEV || error == -EBADFD || error == -ESHUTDOWN) {
    return false;
  }
  return snd_pcm_recover(pcm, static_cast<int>(error), 1) == 0;
}

std::vector<AudioDeviceName> List(const char* direction) {
  std::vector<AudioDeviceName> names = {{"", "Predefinito di sistema"}};
  void** hints = nullptr;
  if (snd_device_name_hint(-1, "pcm", &hints) < 0) {
    return names;
  }
  for (void** hint = hints; *hint != nullptr; ++hint) {
    char* name = snd_device_name_get_hint(*hint, "NAME");
    char* description = snd_device_name_get_hint(*hint, "DESC");
    char* io = snd_device_name_get_hint(*hint, "IOID");
    const std::string id = name != nullptr ? name : "";
    // The raw and the mixing devices take one format only; plughw and the sound servers any.
    const bool useful = !id.empty() && id != "null" && id != "default" && !id.starts_with("hw:") &&
                        !id.starts_with("dmix") && !id.starts_with("dsnoop") &&
                        !id.starts_with("surround") && !id.starts_with("front:") &&
                        !id.starts_with("iec958");
    if (useful && (io == nullptr || std::strcmp(io, direction) == 0)) {
      std::string label = description != nullptr ? description : id;
      for (char& c : label) {
        if (c == '\n') {
          c = ',';
        }
      }
      label += " (";
      label += id;
      label += ")";
      names.push_back({id, label});
    }
    std::free(name);
    std::free(description);
    std::free(io);
  }
  snd_device_name_free_hint(hints);
  return names;
}

}  // namespace

struct AudioOutput::Device {
  snd_pcm_t* pcm = nullptr;
};

struct AudioInput::Device {
  snd_pcm_t* pcm = nullptr;
};

std::vector<AudioDeviceName> ListAudioOutputs() { return List("Output"); }
std::vector<AudioDeviceName> ListAudioInputs() { return List("Input"); }

AudioOutput::AudioOutput() : device_(std::make_unique<Device>()) {}
AudioOutput::~AudioOutput() { Close(); }
bool AudioOutput::IsOpen() const { return device_->pcm != nullptr; }

AudioFailure AudioOutput::Open(const std::string& device, int rate) {
  Close();
  AudioFailure failure = AudioFailure::kNone;
  device_->pcm = OpenPcm(device, rate, SND_PCM_STREAM_PLAYBACK, failure);
  return failure;
}

AudioFailure AudioOutput::Write(const std::int16_t* samples, std::size_t count) {
  if (device_->pcm == nullptr) {
    return AudioFailure::kGone;
  }
  while (count > 0) {
    const snd_pcm_sframes_t written =
        snd_pcm_writei(device_->pcm, samples, static_cast<snd_pcm_uframes_t>(count));
    if (written < 0) {
      if (!Recovered(device_->pcm, written)) {
        return FailureOf(static_cast<int>(written));
      }
      continue;
    }
    samples += written;
    count -= static_cast<std::size_t>(written);
  }
  return AudioFailure::kNone;
}

AudioFailure AudioOutput::Drain() {
  if (device_->pcm == nullptr) {
    return AudioFailure::kGone;
  }
  const int error = snd_pcm_drain(device_->pcm);
  return error < 0 ? FailureOf(error) : AudioFailure::kNone;
}

void AudioOutput::Abort() {
  if (device_->pcm != nullptr) {
    snd_pcm_drop(device_->pcm);
  }
}

void AudioOutput::Close() {
  if (device_->pcm != nullptr) {
    snd_pcm_close(device_->pcm);
    device_->pcm = nullptr;
  }
}

AudioInput::AudioInput() : device_(std::make_unique<Device>()) {}
AudioInput::~AudioInput() { Close(); }
bool AudioInput::IsOpen() const { return device_->pcm != nullptr; }

AudioFailure AudioInput::Open(const std::string& device, int rate) {
  Close();
  AudioFailure failure = AudioFailure::kNone;
  device_->pcm = OpenPcm(device, rate, SND_PCM_STREAM_CAPTURE, failure);
  if (device_->pcm != nullptr) {
    snd_pcm_start(device_->pcm);
  }
  return failure;
}

AudioFailure AudioInput::Read(std::vector<std::int16_t>& into, std::size_t count) {
  if (device_->pcm == nullptr) {
    return AudioFailure::kGone;
  }
  const std::size_t old_size = into.size();
  into.resize(old_size + count);
  for (;;) {
    const snd_pcm_sframes_t read =
        snd_pcm_readi(device_->pcm, into.data() + old_size, static_cast<snd_pcm_uframes_t>(count));
    if (read > 0) {
      into.resize(old_size + static_cast<std::size_t>(read));
      return AudioFailure::kNone;
    }
    if (read < 0 && !Recovered(device_->pcm, read)) {
      into.resize(old_size);
      return FailureOf(static_cast<int>(read));
    }
  }
}

void AudioInput::Close() {
  if (device_->pcm != nullptr) {
    snd_pcm_close(device_->pcm);
    device_->pcm = nullptr;
  }
}

}  // namespace keldra
