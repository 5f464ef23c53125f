// The port list's text, shared by both platforms' readers.
#include "link/list_ports.h"

#include <string_view>

namespace benchora {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

bool NaturalLess(const std::string& a, const std::string& b) {
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      size_t end_a = i;
      size_t end_b = j;
      while (end_a < a.size() && IsDigit(a[end_a])) ++end_a;
      while (end_b < b.size() && IsDigit(b[end_b])) ++end_b;
      // Without leading zeros the shorter run is the smaller number.
      while (i + 1 < end_a && a[i] == '0') ++i;
      while (j + 1 < end_b && b[j] == '0') ++j;
      const std::string_view run_a(a.data() + i, end_a - i);
      const std::string_view run_b(b.data() + j, end_b - j);
      if (run_a.size() != run_b.size()) return run_a.size() < run_b.size();
      if (run_a != run_b) return run_a < run_b;
      i = end_a;
      j = end_b;
    } else {
      if (a[i] != b[j]) return a[i] < b[j];
      ++i;
      ++j;
    }
  }
  return a.size() - i < b.size() - j;
}

std::vector<SerialPort> MachineSerialPorts() {
#if defined(_WIN32)
  return RegistrySerialPorts();
#else
  return SysfsSerialPorts("/sys");
#endif
}

std::string PortListText(const std::vector<SerialPort>& ports) {
  if (ports.empty()) return "no serial ports found\n";
  std::string text;
  for (const SerialPort& port : ports) {
    text += port.path;
    if (!port.usb_id.empty()) text += "  usb " + port.usb_id;
    std::string names = port.manufacturer;
    if (!port.product.empty()) names += (names.empty() ? "" : " ") + port.product;
    if (!names.empty()) text += "  \"" + names + "\"";
    if (!port.serial.empty()) text += "  serial " + port.serial;
    if (!port.driver.empty()) text += "  driver " + port.driver;
    if (!port.device.empty()) text += "  device " + port.device;
    text += '\n';
  }
  return text;
}

}  // namespace benchora
