// The sound card through Windows' own waveOut and waveIn (winmm). A device is named by what
// Windows calls it, so the settings survive a card plugged into another USB port; the wave mapper
// converts the rate for the card.
#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

#include <algorithm>
#include <deque>

#include "system/Audio.h"

namespace keldra {
namespace {

// A device that gives back no buffer in this long has gone away.
constexpr DWORD kGiveUpMs = 1500;
constexpr std::size_t kMaxQueued = 8;
constexpr int kInputBuffers = 4;

std::string Utf8(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) {
    return {};
  }
  std::string text(static_cast<std::size_t>(size - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
  return text;
}

AudioFailure FailureOf(MMRESULT result) {
  switch (result) {
    case MMSYSERR_NOERROR:
      return AudioFailure::kNone;
    case MMSYSERR_BADDEVICEID:
    case MMSYSERR_NODRIVER:
      return AudioFailure::kNotFound;
    case MMSYSERR_ALLOCATED:
      return AudioFailure::kBusy;
    case WAVERR_BADFORMAT:
      return AudioFailure::kFormat;
    case MMSYSERR_NOMEM:
    case MMSYSERR_INVALHANDLE:
      return AudioFailure::kGone;
    default:
      return AudioFailure::kOther;
  }
}

WAVEFORMATEX Mono16(int rate) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = static_cast<DWORD>(rate);
  format.wBitsPerSample = 16;
  format.nBlockAlign = 2;
  format.nAvgBytesPerSec = format.nSamplesPerSec * 2;
  return format;
}

// The device of that name, the wave mapper for none, or nothing when it is not there.
template <class Caps, class Count, class GetCaps>
bool FindDevice(const std::string& name, Count count, GetCaps get_caps, UINT& id) {
  if (name.empty()) {
    id = WAVE_MAPPER;
    return true;
  }
  for (UINT i = 0; i < count(); ++i) {
    Caps caps{};
    if (get_caps(i, &caps, sizeof caps) == MMSYSERR_NOERROR && Utf8(caps.szPname) == name) {
      id = i;
      return true;
    }
  }
  return false;
}

template <class Caps, class Count, class GetCaps>
std::vector<AudioDeviceName> List(Count count, GetCaps get_caps) {
  std::vector<AudioDeviceName> names = {{"", "Predefinito di sistema"}};
  for (UINT i = 0; i < count(); ++i) {
    Caps caps{};
    if (get_caps(i, &caps, sizeof caps) == MMSYSERR_NOERROR) {
      const std::string name = Utf8(caps.szPname);
      names.push_back({name, name});
    }
  }
  return names;
}

struct Block {
  WAVEHDR header{};
  std::vector<std::int16_t> samples;
};

}  // namespace

struct AudioOutput::Device {
  HWAVEOUT handle = nullptr;
  HANDLE done = nullptr;
  std::deque<Block> queued;

  // Gives back the buffers the device has played; false when one was still playing.
  void Reap() {
    while (!queued.empty() && (queued.front().header.dwFlags & WHDR_DONE) != 0) {
      waveOutUnprepareHeader(handle, &queued.front().header, sizeof(WAVEHDR));
      queued.pop_front();
    }
  }
  // Waits for the device to give back one buffer; false when it gave none back in time.
  bool WaitForOne() {
    const std::size_t before = queued.size();
    Reap();
    while (queued.size() == before) {
      if (WaitForSingleObject(done, kGiveUpMs) == WAIT_TIMEOUT) {
        Reap();
        return queued.size() < before;
      }
      Reap();
    }
    return true;
  }
};

struct AudioInput::Device {
  HWAVEIN handle = nullptr;
  HANDLE done = nullptr;
  Block blocks[kInputBuffers];
  int next = 0;
};

std::vector<AudioDeviceName> ListAudioOutputs() {
  return List<WAVEOUTCAPSW>(
      [] { return waveOutGetNumDevs(); },
      [](UINT i, WAVEOUTCAPSW* caps, UINT size) { return waveOutGetDevCapsW(i, caps, size); });
}

std::vector<AudioDeviceName> ListAudioInputs() {
  return List<WAVEINCAPSW>(
      [] { return waveInGetNumDevs(); },
      [](UINT i, WAVEINCAPSW* caps, UINT size) { return waveInGetDevCapsW(i, caps, size); });
}

AudioOutput::AudioOutput() : device_(std::make_unique<Device>()) {}
AudioOutput::~AudioOutput() { Close(); }
bool AudioOutput::IsOpen() const { return device_->handle != nullptr; }

AudioFailure AudioOutput::Open(const std::string& device, int rate) {
  Close();
  UINT id = WAVE_MAPPER;
  if (!FindDevice<WAVEOUTCAPSW>(
          device, [] { return waveOutGetNumDevs(); },
          [](UINT i, WAVEOUTCAPSW* caps, UINT size) { return waveOutGetDevCapsW(i, caps, size); },
          id)) {
    return AudioFailure::kNotFound;
  }
  device_->done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  const WAVEFORMATEX format = Mono16(rate);
  const MMRESULT result = waveOutOpen(
      &device_->handle, id, &format, reinterpret_cast<DWORD_PTR>(device_->done), 0, CALLBACK_EVENT);
  if (result != MMSYSERR_NOERROR) {
    device_->handle = nullptr;
    Close();
    return FailureOf(result);
  }
  return AudioFailure::kNone;
}

AudioFailure AudioOutput::Write(const std::int16_t* samples, std::size_t count) {
  Device& d = *device_;
  if (d.handle == nullptr) {
    return AudioFailure::kGone;
  }
  if (count == 0) {
    return AudioFailure::kNone;
  }
  d.Reap();
  if (d.queued.size() >= kMaxQueued && !d.WaitForOne()) {
    return AudioFailure::kGone;
  }
  Block& block = d.queued.emplace_back();
  block.samples.assign(samples, samples + count);
  block.header.lpData = reinterpret_cast<LPSTR>(block.samples.data());
  block.header.dwBufferLength = static_cast<DWORD>(count * 2);
  MMRESULT result = waveOutPrepareHeader(d.handle, &block.header, sizeof(WAVEHDR));
  if (result == MMSYSERR_NOERROR) {
    result = waveOutWrite(d.handle, &block.header, sizeof(WAVEHDR));
  }
  if (result != MMSYSERR_NOERROR) {
    waveOutUnprepareHeader(d.handle, &block.header, sizeof(WAVEHDR));
    d.queued.pop_back();
    return result == MMSYSERR_NODRIVER ? AudioFailure::kGone : FailureOf(result);
  }
  return AudioFailure::kNone;
}

AudioFailure AudioOutput::Drain() {
  Device& d = *device_;
  if (d.handle == nullptr) {
    return AudioFailure::kGone;
  }
  while (!d.queued.empty()) {
    if (!d.WaitForOne()) {
      return AudioFailure::kGone;
    }
  }
  return AudioFailure::kNone;
}

void AudioOutput::Abort() {
  Device& d = *device_;
  if (d.handle != nullptr) {
    // Every buffer comes back marked done, at once.
    waveOutReset(d.handle);
    d.Reap();
  }
}

void AudioOutput::Close() {
  Device& d = *device_;
  if (d.handle != nullptr) {
    waveOutReset(d.handle);
    d.Reap();
    waveOutClose(d.handle);
    d.handle = nullptr;
  }
  d.queued.clear();
  if (d.done != nullptr) {
    CloseHandle(d.done);
    d.done = nullptr;
  }
}

AudioInput::AudioInput() : device_(std::make_unique<Device>()) {}
AudioInput::~AudioInput() { Close(); }
bool AudioInput::IsOpen() const { return device_->handle != nullptr; }

AudioFailure AudioInput::Open(const std::string& device, int rate) {
  Close();
  Device& d = *device_;
  UINT id = WAVE_MAPPER;
  if (!FindDevice<WAVEINCAPSW>(
          device, [] { return waveInGetNumDevs(); },
          [](UINT i, WAVEINCAPSW* caps, UINT size) { return waveInGetDevCapsW(i, caps, size); },
          id)) {
    return AudioFailure::kNotFound;
  }
  d.done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  const WAVEFORMATEX format = Mono16(rate);
  MMRESULT result =
      waveInOpen(&d.handle, id, &format, reinterpret_cast<DWORD_PTR>(d.done), 0, CALLBACK_EVENT);
  if (result != MMSYSERR_NOERROR) {
    d.handle = nullptr;
    Close();
    return FailureOf(result);
  }
  // Four buffers of 50 ms each keep the card recording while one is read.
  for (Block& block : d.blocks) {
    block.samples.assign(static_cast<std::size_t>(std::max(1, rate / 20)), 0);
    block.header = {};
    block.header.lpData = reinterpret_cast<LPSTR>(block.samples.data());
    block.header.dwBufferLength = static_cast<DWORD>(block.samples.size() * 2);
    waveInPrepareHeader(d.handle, &block.header, sizeof(WAVEHDR));
    waveInAddBuffer(d.handle, &block.header, sizeof(WAVEHDR));
  }
  d.next = 0;
  result = waveInStart(d.handle);
  if (result != MMSYSERR_NOERROR) {
    Close();
    return FailureOf(result);
  }
  return AudioFailure::kNone;
}

AudioFailure AudioInput::Read(std::vector<std::int16_t>& into, std::size_t count) {
  Device& d = *device_;
  if (d.handle == nullptr) {
    return AudioFailure::kGone;
  }
  Block& block = d.blocks[d.next];
  while ((block.header.dwFlags & WHDR_DONE) == 0) {
    if (WaitForSingleObject(d.done, kGiveUpMs) == WAIT_TIMEOUT &&
        (block.header.dwFlags & WHDR_DONE) == 0) {
      return AudioFailure::kGone;
    }
  }
  // A buffer is one piece of the recording; the caller asks for about as much.
  const std::size_t recorded = std::min<std::size_t>(block.header.dwBytesRecorded / 2, count);
  into.insert(into.end(), block.samples.begin(),
              block.samples.begin() + static_cast<std::ptrdiff_t>(recorded));
  block.header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
  block.header.dwBytesRecorded = 0;
  const MMRESULT result = waveInAddBuffer(d.handle, &block.header, sizeof(WAVEHDR));
  d.next = (d.next + 1) % kInputBuffers;
  return result == MMSYSERR_NOERROR ? AudioFailure::kNone : AudioFailure::kGone;
}

void AudioInput::Close() {
  Device& d = *device_;
  if (d.handle != nullptr) {
    waveInReset(d.handle);
    for (Block& block : d.blocks) {
      waveInUnprepareHeader(d.handle, &block.header, sizeof(WAVEHDR));
    }
    waveInClose(d.handle);
    d.handle = nullptr;
  }
  if (d.done != nullptr) {
    CloseHandle(d.done);
    d.done = nullptr;
  }
}

}  // namespace keldra
