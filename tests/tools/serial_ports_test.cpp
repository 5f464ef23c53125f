// Serial ports as the user names and finds them: the target texts of both
// platforms (the parser knows both, so both are checked here), the port
// list read from a made-up sysfs tree, and benchora's hints after a failed
// open.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "link/connection_help.h"
#include "link/list_ports.h"
#include "serial_link.h"

namespace {

namespace fs = std::filesystem;
using tessic::SerialNaming;

TEST(SerialPortsTest, TargetTextsOfBothPlatforms) {
  struct Row {
    std::string text;
    SerialNaming naming;
    std::string result;  // "path|name|baud", or the error
  };
  constexpr SerialNaming kPath = SerialNaming::kPath;
  constexpr SerialNaming kCom = SerialNaming::kComPort;
  const std::string by_path =
      " is a Windows port name; Linux names serial devices by path (e.g. serial:/dev/ttyACM0)";
  const std::string as_com =
      " is not a COM port name; Windows names serial ports COMn (e.g. COM7 or "
      "serial:COM7,115200)";
  const std::string speeds = "' (9600, 19200, 38400, 57600, 115200, 230400, 460800 or 921600)";
  const Row rows[] = {
      {"serial:/dev/ttyACM0", kPath, "/dev/ttyACM0|/dev/ttyACM0|115200"},
      {"serial:/dev/ttyUSB0,921600", kPath, "/dev/ttyUSB0|/dev/ttyUSB0|921600"},
      {"COM7", kPath, "COM7" + by_path},
      {"serial:com3,9600", kPath, "com3" + by_path},
      {"serial:", kPath, "serial target without a device path (serial:/dev/ttyACM0[,BAUD])"},
      {"serial:/dev/ttyACM0,", kPath, "unsupported serial speed ''" + speeds.substr(1)},
      {"COM7", kCom, "\\\\.\\COM7|COM7|115200"},
      {"com7,57600", kCom, "\\\\.\\COM7|COM7|57600"},
      {"serial:COM10", kCom, "\\\\.\\COM10|COM10|115200"},
      {"serial:\\\\.\\COM12,230400", kCom, "\\\\.\\COM12|COM12|230400"},
      {"serial:\\\\.\\VPORT3", kCom, "\\\\.\\VPORT3|VPORT3|115200"},
      {"COM256", kCom, "\\\\.\\COM256|COM256|115200"},
      {"COM0", kCom, "no COM port COM0 (COM1 to COM256)"},
      {"COM257", kCom, "no COM port COM257 (COM1 to COM256)"},
      {"serial:\\\\.\\", kCom, "\\\\.\\" + as_com},
      {"serial:/dev/ttyACM0", kCom, "/dev/ttyACM0" + as_com},
      {"COM7,1200", kCom, "unsupported serial speed '1200" + speeds},
  };
  for (const Row& row : rows) {
    tessic::SerialTarget target;
    std::string error;
    const bool parsed = tessic::ParseSerialTarget(row.text, row.naming, target, error);
    const std::string got =
        parsed ? target.path + "|" + target.name + "|" + std::to_string(target.baud) : error;
    EXPECT_EQ(got, row.result) << row.text;
    EXPECT_TRUE(tessic::NamesSerialPort(row.text)) << row.text;
    EXPECT_EQ(tessic::ReadSerialText(row.text, row.naming, target, error),
              parsed ? tessic::SerialText::kTarget : tessic::SerialText::kRefused)
        << row.text;
  }
  // Texts that name no serial port: neither platform's parser takes them,
  // and each says what a serial target looks like there.
  for (const std::string other : {"127.0.0.1:1", "localhost:7", "COMPUTER:80", "COM:1",
                                  "\\\\.\\COM7", "\\\\.\\VPORT3", "\\\\.\\\x80\xff"}) {
    SCOPED_TRACE(other);
    EXPECT_FALSE(tessic::NamesSerialPort(other));
    tessic::SerialTarget target;
    std::string error;
    EXPECT_EQ(tessic::ReadSerialText(other, kPath, target, error), tessic::SerialText::kOther);
    EXPECT_EQ(tessic::ReadSerialText(other, kCom, target, error), tessic::SerialText::kOther);
    EXPECT_FALSE(tessic::ParseSerialTarget(other, kPath, target, error));
    EXPECT_EQ(error, "not a serial target: " + other + " (serial:/dev/ttyACM0[,BAUD])");
    EXPECT_FALSE(tessic::ParseSerialTarget(other, kCom, target, error));
    EXPECT_EQ(error, other + as_com);
  }
}

// A made-up sysfs tree: one USB device with two ACM ports (numbered so that
// plain text order is wrong), a USB serial adapter without manufacturer or
// serial number, a real UART and an empty legacy slot, and a virtual
// terminal.
class FakeSysfs {
 public:
  FakeSysfs() : root_(fs::temp_directory_path() / ("sonvio-sysfs-" + std::to_string(::getpid()))) {
    fs::remove_all(root_);
    const std::string usb = "devices/pci0000:00/0000:00:14.0/usb1/";
    Files(usb + "1-2", {{"idVendor", "1234"},
                        {"idProduct", "abcd"},
                        {"manufacturer", "Maker"},
                        {"product", "Phone X"},
                        {"serial", "SN0001\n"}});
    Files(usb + "1-3", {{"idVendor", "f00d"}, {"idProduct", "0002"}, {"product", "Serial Cable"}});
    Port("ttyACM10", usb + "1-2/1-2:1.4", "bus/usb/drivers/cdc_acm");
    Port("ttyACM2", usb + "1-2/1-2:1.0", "bus/usb/drivers/cdc_acm");
    Port("ttyUSB0", usb + "1-3/1-3:1.0/ttyUSB0", "bus/usb-serial/drivers/generic_serial");
    // A UART behind the port device of newer kernels.
    const std::string uart = "devices/pnp0/00:00";
    Port("ttyS0", uart + "/00:00:0/00:00:0.0", "bus/serial-base/drivers/port");
    Link(root_ / uart / "driver", root_ / "bus/pnp/drivers/serial");
    Files(uart + "/00:00:0/00:00:0.0/tty/ttyS0", {{"type", "4"}});
    Port("ttyS1", "devices/platform/serial8250", "bus/platform/drivers/serial8250");
    Files("devices/platform/serial8250/tty/ttyS1", {{"type", "0"}});
    Link(root_ / "class/tty/tty0", root_ / "devices/virtual/tty/tty0");  // no device behind it
  }
  ~FakeSysfs() { fs::remove_all(root_); }
  const fs::path& root() const { return root_; }

 private:
  void Files(const std::string& dir,
             const std::vector<std::pair<std::string, std::string>>& files) {
    fs::create_directories(root_ / dir);
    for (const auto& [name, value] : files) std::ofstream(root_ / dir / name) << value << "\n";
  }
  void Link(const fs::path& link, const fs::path& target) {
    fs::create_directories(target);
    fs::create_directories(link.parent_path());
    fs::create_directory_symlink(fs::relative(target, link.parent_path()), link);
  }
  // class/tty/NAME -> DEVICE/tty/NAME, whose `device` is DEVICE, whose
  // `driver` is DRIVER.
  void Port(const std::string& name, const std::string& device, const std::string& driver) {
    const fs::path own = root_ / device / "tty" / name;
    fs::create_directories(own);
    Link(root_ / "class/tty" / name, own);
    Link(own / "device", root_ / device);
    if (!driver.empty() && !fs::exists(root_ / device / "driver"))
      Link(root_ / device / "driver", root_ / driver);
  }
  fs::path root_;
};

TEST(SerialPortsTest, ListFromSysfs) {
  const FakeSysfs sysfs;
  EXPECT_EQ(benchora::PortListText(benchora::SysfsSerialPorts(sysfs.root())),
            "/dev/ttyACM2  usb 1234:abcd  \"Maker Phone X\"  serial SN0001  driver cdc_acm\n"
            "/dev/ttyACM10  usb 1234:abcd  \"Maker Phone X\"  serial SN0001  driver cdc_acm\n"
            "/dev/ttyS0  driver serial\n"
            "/dev/ttyUSB0  usb f00d:0002  \"Serial Cable\"  driver generic_serial\n");
  EXPECT_EQ(benchora::PortListText(benchora::SysfsSerialPorts(sysfs.root() / "nothing")),
            "no serial ports found\n");
}

// A serial target gets what to check about the device, not the TCP advice
// (which would split it at its colon as HOST:PORT).
TEST(SerialPortsTest, HintsAfterAFailedOpen) {
  benchora::AtServerSetup setup;
  setup.target = "serial:/nonexistent/ttyACM7,57600";
  setup.origin = benchora::TargetOrigin::kOption;
  std::string text;
  for (const std::string& line : benchora::ConnectionHelp(setup)) text += line + "\n";
  EXPECT_EQ(text,
            "the plug-in could not connect to the AT server at serial:/nonexistent/ttyACM7,57600 "
            "(from --at-server)\n"
            "no device at /nonexistent/ttyACM7: is the handset plugged in, with its AT port "
            "switched on? benchora --list-ports lists the serial ports found\n"
            "a port that comes and goes may get another number (ttyACM1 for ttyACM0)\n");
}

}  // namespace
