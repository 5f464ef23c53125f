// Serial ports from the registry: HKLM\HARDWARE\DEVICEMAP\SERIALCOMM holds
// one value per port present, named by the port's device (\Device\Serial0,
// \Device\USBSER000), whose data is its COM name.
#include <windows.h>

#include <algorithm>
#include <array>

#include "link/list_ports.h"

namespace benchora {
namespace {

// Owns an open registry key.
class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY* out() { return &key_; }
  [[nodiscard]] HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::string Narrow(const wchar_t* text, size_t length) {
  const int size = static_cast<int>(length);
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0)
    ::WideCharToMultiByte(CP_UTF8, 0, text, size, narrow.data(), bytes, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::vector<SerialPort> RegistrySerialPorts() {
  std::vector<SerialPort> ports;
  RegistryKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                      key.out()) != ERROR_SUCCESS) {
    return ports;  // no port was ever present
  }
  for (DWORD index = 0;; ++index) {
    std::array<wchar_t, 256> name{};
    std::array<wchar_t, 64> data{};
    DWORD name_length = static_cast<DWORD>(name.size());
    DWORD data_bytes = static_cast<DWORD>(sizeof(wchar_t) * (data.size() - 1));
    DWORD type = 0;
    const LONG result = ::RegEnumValueW(key.get(), index, name.data(), &name_length, nullptr, &type,
                                        reinterpret_cast<BYTE*>(data.data()), &data_bytes);
    if (result == ERROR_NO_MORE_ITEMS) break;
    // A value too long for a port name, or not a text, is no port.
    if (result != ERROR_SUCCESS || type != REG_SZ) continue;
    size_t length = data_bytes / sizeof(wchar_t);
    while (length > 0 && data[length - 1] == L'\0') --length;
    if (length == 0) continue;
    SerialPort port;
    port.path = Narrow(data.data(), length);
    port.device = Narrow(name.data(), name_length);
    ports.push_back(std::move(port));
  }
  std::sort(ports.begin(), ports.end(),
            [](const SerialPort& a, const SerialPort& b) { return NaturalLess(a.path, b.path); });
  return ports;
}

}  // namespace benchora
