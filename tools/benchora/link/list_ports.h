// The serial ports of this machine and what identifies them, for
// benchora --list-ports: on Linux read from sysfs, on Windows from the
// registry's list of serial ports.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace benchora {

struct SerialPort {
  std::string path;          // what --at-server takes after serial: (/dev/ttyACM0, COM7)
  std::string usb_id;        // "vendor:product" in hex, for a USB device
  std::string manufacturer;  // the USB device's own strings
  std::string product;
  std::string serial;
  std::string driver;  // Linux: the kernel driver of the port
  std::string device;  // Windows: the port's device name (\Device\...)
};

// The ports of a sysfs tree mounted at `sys_root` (/sys): each entry of
// class/tty with a device behind it, ttyS ports whose type says no UART
// answers left out; for a USB device the identity of the USB device the
// port belongs to. Sorted by path, numbers in order (ttyACM2 before ttyACM10).
[[nodiscard]] std::vector<SerialPort> SysfsSerialPorts(const std::filesystem::path& sys_root);

#if defined(_WIN32)
// The ports the registry's HARDWARE\DEVICEMAP\SERIALCOMM key lists.
[[nodiscard]] std::vector<SerialPort> RegistrySerialPorts();
#endif

// This machine's ports: the registry's on Windows, /sys elsewhere.
[[nodiscard]] std::vector<SerialPort> MachineSerialPorts();

// One line per port, or "no serial ports found".
[[nodiscard]] std::string PortListText(const std::vector<SerialPort>& ports);

// Orders names with their digit runs taken as numbers: COM2 before COM10.
[[nodiscard]] bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace benchora
