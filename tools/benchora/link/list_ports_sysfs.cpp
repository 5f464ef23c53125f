// Serial ports from a sysfs tree: /sys/class/tty/NAME is a port with a
// device behind it when it has a `device` link; a USB port's identity is in
// the first directory above that device with idVendor and idProduct.
#include <algorithm>
#include <fstream>
#include <system_error>

#include "link/list_ports.h"

namespace benchora {
namespace {

namespace fs = std::filesystem;

// Longest value kept of a sysfs attribute: device strings are short.
constexpr size_t kLongestValue = 128;

// The first line of an attribute file, without trailing blanks, control
// characters shown as '?'; "" when it cannot be read.
std::string ReadValue(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  if (line.size() > kLongestValue) line.resize(kLongestValue);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
    line.pop_back();
  for (char& c : line) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  return line;
}

// Whether `dir` is `root` or below it.
bool Within(const fs::path& dir, const fs::path& root) {
  const auto [end, _] = std::mismatch(root.begin(), root.end(), dir.begin(), dir.end());
  return end == root.end();
}

void AddUsbIdentity(const fs::path& device, const fs::path& root, SerialPort& port) {
  std::error_code error;
  for (fs::path dir = device; Within(dir, root) && dir != root; dir = dir.parent_path()) {
    if (fs::exists(dir / "idVendor", error) && fs::exists(dir / "idProduct", error)) {
      port.usb_id = ReadValue(dir / "idVendor") + ":" + ReadValue(dir / "idProduct");
      port.manufacturer = ReadValue(dir / "manufacturer");
      port.product = ReadValue(dir / "product");
      port.serial = ReadValue(dir / "serial");
      return;
    }
  }
}

// The driver of the port's hardware: newer kernels put a port device of the
// serial-base bus (drivers "port", "ctrl") between the tty and the UART's
// own device, so those are passed over.
std::string DriverOf(const fs::path& device, const fs::path& root) {
  for (fs::path dir = device; Within(dir, root) && dir != root; dir = dir.parent_path()) {
    std::error_code e;
    const fs::path driver = fs::canonical(dir / "driver", e);
    if (e) continue;
    if (driver.parent_path().parent_path().filename() != "serial-base")
      return driver.filename().string();
  }
  return {};
}

}  // namespace

std::vector<SerialPort> SysfsSerialPorts(const fs::path& sys_root) {
  std::vector<SerialPort> ports;
  std::error_code error;
  const fs::path root = fs::canonical(sys_root, error);
  if (error) return ports;
  for (const fs::directory_entry& entry : fs::directory_iterator(root / "class" / "tty", error)) {
    const std::string name = entry.path().filename().string();
    std::error_code e;
    // Terminals, consoles and pseudo-terminals have no device.
    const fs::path device = fs::canonical(entry.path() / "device", e);
    if (e || !Within(device, root)) continue;
    // Legacy ttyS slots all exist; type 0 says no UART is behind this one.
    if (name.starts_with("ttyS") && ReadValue(entry.path() / "type") == "0") continue;
    SerialPort port;
    port.path = "/dev/" + name;
    port.driver = DriverOf(device, root);
    AddUsbIdentity(device, root, port);
    ports.push_back(std::move(port));
  }
  std::sort(ports.begin(), ports.end(),
            [](const SerialPort& a, const SerialPort& b) { return NaturalLess(a.path, b.path); });
  return ports;
}

}  // namespace benchora
