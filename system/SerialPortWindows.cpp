// The serial port calls of Windows (COM ports through CreateFileW and the communications API).
#include <windows.h>
// After windows.h, which it needs.
#include <setupapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <map>

#include "system/SerialPort.h"

namespace keldra {
namespace {

constexpr DWORD kWriteMillis = 2000;

// UTF-8 and the wide strings of Windows' calls, as std::filesystem converts them for the files.
std::wstring Wide(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

std::string Narrow(const wchar_t* wide) {
  const std::u8string utf8 = std::filesystem::path(wide).u8string();
  return {utf8.begin(), utf8.end()};
}

// "COM3" as the device name Windows opens; COM10 and above need the \\.\ form, which every COM
// port takes.
std::wstring DeviceName(const std::string& path) {
  return path.rfind("\\\\", 0) == 0 ? Wide(path) : L"\\\\.\\" + Wide(path);
}

SerialFailure FailureOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return SerialFailure::kNotFound;
    // What CreateFile answers for a port another program has open.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return SerialFailure::kBusy;
    // What a USB adapter pulled out mid-use answers.
    case ERROR_BAD_COMMAND:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_GEN_FAILURE:
    case ERROR_OPERATION_ABORTED:
    case ERROR_INVALID_HANDLE:
      return SerialFailure::kGone;
    default:
      return SerialFailure::kOther;
  }
}

int ComNumber(const std::string& name) {
  return name.size() > 3 && name.rfind("COM", 0) == 0 ? std::atoi(name.c_str() + 3) : 0;
}

// The names Device Manager shows for the ports ("USB-SERIAL CH340 (COM3)"), by port, where
// their drivers give one.
std::map<std::string, std::string> FriendlyNames() {
  std::map<std::string, std::string> names;
  // GUID_DEVCLASS_PORTS: the class of COM and LPT ports.
  static const GUID kPorts = {
      0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
  HDEVINFO devices = SetupDiGetClassDevsW(&kPorts, nullptr, nullptr, DIGCF_PRESENT);
  if (devices == INVALID_HANDLE_VALUE) {
    return names;
  }
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
    HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) {
      continue;
    }
    // Both buffers keep their last character zero: Windows need not end what it writes.
    wchar_t port[64] = {};
    DWORD size = sizeof port - sizeof(wchar_t);
    DWORD type = 0;
    const LONG read =
        RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(port), &size);
    RegCloseKey(key);
    wchar_t friendly[256] = {};
    DWORD kind = 0;
    if (read == ERROR_SUCCESS && type == REG_SZ && port[0] != L'\0' &&
        SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, &kind,
                                          reinterpret_cast<BYTE*>(friendly),
                                          sizeof friendly - sizeof(wchar_t), nullptr) &&
        kind == REG_SZ && friendly[0] != L'\0') {
      names[Narrow(port)] = Narrow(friendly);
    }
  }
  SetupDiDestroyDeviceInfoList(devices);
  return names;
}

}  // namespace

std::vector<SerialPortName> ListSerialPorts() {
  std::vector<SerialPortName> ports;
  // The ports Windows has now, as its drivers register them.
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) ==
      ERROR_SUCCESS) {
    for (DWORD index = 0;; ++index) {
      wchar_t name[256];
      wchar_t data[64];
      DWORD name_size = 256;
      DWORD data_size = sizeof data;
      DWORD type = 0;
      const LONG read = RegEnumValueW(key, index, name, &name_size, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data), &data_size);
      if (read == ERROR_NO_MORE_ITEMS) {
        break;
      }
      if (read == ERROR_SUCCESS && type == REG_SZ && data_size >= sizeof(wchar_t)) {
        data[std::min<size_t>(data_size / sizeof(wchar_t), 63)] = L'\0';
        const std::string port = Narrow(data);
        ports.push_back({port, port});
      }
    }
    RegCloseKey(key);
  }
  // Where the registry has no list (some drivers, Wine), the COM names the system knows.
  if (ports.empty()) {
    for (int number = 1; number <= 64; ++number) {
      wchar_t name[16];
      wchar_t target[512];
      std::swprintf(name, 16, L"COM%d", number);
      if (QueryDosDeviceW(name, target, 512) != 0) {
        ports.push_back({Narrow(name), Narrow(name)});
      }
    }
  }
  std::sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) {
    return ComNumber(a.path) != ComNumber(b.path) ? ComNumber(a.path) < ComNumber(b.path)
                                                  : a.path < b.path;
  });
  ports.erase(std::unique(ports.begin(), ports.end(),
                          [](const auto& a, const auto& b) { return a.path == b.path; }),
              ports.end());
  const std::map<std::string, std::string> names = FriendlyNames();
  for (SerialPortName& port : ports) {
    if (const auto it = names.find(port.path); it != names.end()) {
      // Device Manager's names mostly end with the port already.
      port.label = it->second.find(port.path) != std::string::npos
                       ? it->second
                       : port.path + " (" + it->second + ")";
    }
  }
  return ports;
}

SerialFailure SerialPort::Open(const std::string& path, const SerialSettings& settings) {
  Close();
  // No sharing: a COM port is for one program at a time.
  const HANDLE port = CreateFileW(DeviceName(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    return FailureOf(GetLastError());
  }
  DCB mode{};
  mode.DCBlength = sizeof mode;
  const bool configured = [&] {
    if (!GetCommState(port, &mode) || settings.data_bits < 5 || settings.data_bits > 8) {
      return false;
    }
    mode.BaudRate = static_cast<DWORD>(settings.baud);
    mode.ByteSize = static_cast<BYTE>(settings.data_bits);
    mode.Parity = settings.parity == Parity::kNone  ? NOPARITY
                  : settings.parity == Parity::kOdd ? ODDPARITY
                                                    : EVENPARITY;
    mode.StopBits = settings.stop_bits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    mode.fBinary = TRUE;
    mode.fParity = settings.parity != Parity::kNone;
    mode.fOutxCtsFlow = FALSE;
    mode.fOutxDsrFlow = FALSE;
    mode.fDsrSensitivity = FALSE;
    mode.fOutX = FALSE;
    mode.fInX = FALSE;
    mode.fAbortOnError = FALSE;
    mode.fDtrControl = settings.dtr ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    mode.fRtsControl = settings.rts ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    return SetCommState(port, &mode) != 0;
  }();
  if (!configured) {
    CloseHandle(port);
    return SerialFailure::kSettings;
  }
  handle_ = reinterpret_cast<std::intptr_t>(port);
  return SerialFailure::kNone;
}

SerialFailure SerialPort::Write(std::string_view bytes) {
  if (handle_ == kNoPort) {
    return SerialFailure::kGone;
  }
  const auto port = reinterpret_cast<HANDLE>(handle_);
  COMMTIMEOUTS timeouts{};
  GetCommTimeouts(port, &timeouts);
  timeouts.WriteTotalTimeoutMultiplier = 0;
  timeouts.WriteTotalTimeoutConstant = kWriteMillis;
  SetCommTimeouts(port, &timeouts);
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!WriteFile(port, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
      return FailureOf(GetLastError());
    }
    if (written == 0) {
      return SerialFailure::kTimedOut;
    }
    bytes.remove_prefix(written);
  }
  return SerialFailure::kNone;
}

SerialFailure SerialPort::Read(std::string& into, Deadline deadline) {
  if (handle_ == kNoPort) {
    return SerialFailure::kGone;
  }
  const auto port = reinterpret_cast<HANDLE>(handle_);
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  // These three together: return at once with what has arrived, else wait for the first byte
  // until the deadline (Windows' documented "read with time-out" combination).
  COMMTIMEOUTS timeouts{};
  GetCommTimeouts(port, &timeouts);
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
  timeouts.ReadTotalTimeoutConstant =
      static_cast<DWORD>(std::clamp<std::int64_t>(left.count(), 1, 60'000));
  SetCommTimeouts(port, &timeouts);
  char buffer[512];
  DWORD got = 0;
  if (!ReadFile(port, buffer, sizeof buffer, &got, nullptr)) {
    return FailureOf(GetLastError());
  }
  if (got == 0) {
    return SerialFailure::kTimedOut;
  }
  into.append(buffer, got);
  return SerialFailure::kNone;
}

SerialFailure SerialPort::SetDtr(bool on) {
  if (handle_ == kNoPort) {
    return SerialFailure::kGone;
  }
  return EscapeCommFunction(reinterpret_cast<HANDLE>(handle_), on ? SETDTR : CLRDTR)
             ? SerialFailure::kNone
             : FailureOf(GetLastError());
}

SerialFailure SerialPort::SetRts(bool on) {
  if (handle_ == kNoPort) {
    return SerialFailure::kGone;
  }
  return EscapeCommFunction(reinterpret_cast<HANDLE>(handle_), on ? SETRTS : CLRRTS)
             ? SerialFailure::kNone
             : FailureOf(GetLastError());
}

void SerialPort::Close() {
  if (handle_ != kNoPort) {
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = kNoPort;
  }
}

}  // namespace keldra
