// ZvUsbSgl.conf parsing.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/bad_files.h"
#include "support/temp_dir.h"
#include "usb_config.h"

namespace qv70::usbsgl {
namespace {

struct ConfigCase {
  const char* name;
  const char* text;
  UsbConfig expected;
  size_t errors;
};

UsbConfig With(void (*change)(UsbConfig&)) {
  UsbConfig config;
  change(config);
  return config;
}

bool Same(const UsbConfig& a, const UsbConfig& b) {
  return a.vendorId == b.vendorId && a.productId == b.productId && a.interfaceNumber == b.interfaceNumber &&
         a.endpointOut == b.endpointOut && a.endpointIn == b.endpointIn && a.readTimeoutMs == b.readTimeoutMs &&
         a.exchangeTimeoutMs == b.exchangeTimeoutMs && a.shortPacketEndsReply == b.shortPacketEndsReply;
}

TEST(UsbConfigParsing, KeysValuesCommentsAndErrors) {
  const ConfigCase cases[] = {
      {"empty file", "", UsbConfig{}, 0},
      {"comments and blanks only", "# a comment\n; another\n\n   \n", UsbConfig{}, 0},
      {"every key",
       "vendor_id = 0x1A2B\nproduct_id=4660\ninterface = 1\nendpoint_out = 0x01\nendpoint_in = 0x82\n"
       "read_timeout_ms = 2500\nexchange_timeout_ms = 12000\nshort_packet_ends_reply = 1\n",
       With([](UsbConfig& c) {
         c.vendorId = 0x1A2B;
         c.productId = 4660;
         c.interfaceNumber = 1;
         c.endpointOut = 0x01;
         c.endpointIn = 0x82;
         c.readTimeoutMs = 2500;
         c.exchangeTimeoutMs = 12000;
         c.shortPacketEndsReply = true;
       }),
       0},
      {"CR LF lines, trailing comment, key case", "VENDOR_ID = 0x10 # ours\r\nRead_Timeout_Ms=100\r\n",
       With([](UsbConfig& c) {
         c.vendorId = 0x10;
         c.readTimeoutMs = 100;
       }),
       0},
      {"unknown key", "colour = blue\nvendor_id = 7\n", With([](UsbConfig& c) { c.vendorId = 7; }), 1},
      {"no equals sign", "vendor_id 7\n", UsbConfig{}, 1},
      {"IN endpoint without its direction bit", "endpoint_in = 0x02\n", UsbConfig{}, 1},
      {"OUT endpoint with the direction bit", "endpoint_out = 0x81\n", UsbConfig{}, 1},
      {"id beyond 16 bits", "product_id = 0x10000\n", UsbConfig{}, 1},
      {"time-out of zero", "read_timeout_ms = 0\n", UsbConfig{}, 1},
      {"not a number", "read_timeout_ms = soon\n", UsbConfig{}, 1},
      {"exchange time-out beyond an hour", "exchange_timeout_ms = 3600001\n", UsbConfig{}, 1},
      {"number with text after it", "interface = 1x\n", UsbConfig{}, 1},
      {"empty value", "vendor_id =\n", UsbConfig{}, 1},
      {"flag other than 0 or 1", "short_packet_ends_reply = 2\n", UsbConfig{}, 1},
      {"bad line does not stop the rest", "endpoint_in = 5\nread_timeout_ms = 700\n",
       With([](UsbConfig& c) { c.readTimeoutMs = 700; }), 1},
  };
  for (const ConfigCase& c : cases) {
    ConfigResult result = ParseUsbConfig(c.text);
    EXPECT_TRUE(Same(result.config, c.expected)) << c.name;
    EXPECT_EQ(result.errors.size(), c.errors) << c.name;
    for (const std::string& error : result.errors) EXPECT_EQ(error.rfind("line ", 0), 0u) << c.name << ": " << error;
  }
}

TEST(UsbConfigParsing, ShippedExampleIsCleanAndHoldsTheDefaults) {
  ConfigResult result = LoadUsbConfig(std::string(QV70_SOURCE_DIR) + "/drivers/usbsgl/ZvUsbSgl.conf");
  EXPECT_TRUE(result.errors.empty()) << result.errors.front();
  EXPECT_TRUE(Same(result.config, UsbConfig{}));
  EXPECT_EQ(result.config.readTimeoutMs, 5000);
}

TEST(UsbConfigParsing, MissingFileGivesTheDefaultsAndSaysSo) {
  ConfigResult result = LoadUsbConfig("/nonexistent/ZvUsbSgl.conf");
  EXPECT_TRUE(Same(result.config, UsbConfig{}));
  ASSERT_EQ(result.errors.size(), 1u);
  EXPECT_NE(result.errors[0].find("/nonexistent/ZvUsbSgl.conf"), std::string::npos);
}

// A configuration that cannot be one is not read: the defaults serve. A FIFO
// is never waited on and a link to /dev/zero never read. A file that is only
// odd (binary bytes) is no damage: its lines are parsed one by one, so the
// garbage is refused and a good line after it still counts.
TEST(UsbConfigParsing, DamagedFileGivesTheDefaultsAndSaysWhy) {
  struct Row {
    const char* damage;  // what `damage` tells after the path; empty: not damaged
    int readTimeoutMs;
  };
  const std::map<std::string, Row> rows = {
      {"directory", {" is not a regular file; using the defaults", 5000}},
      {"fifo", {" is not a regular file; using the defaults", 5000}},
      {"link to /dev/zero", {" is not a regular file; using the defaults", 5000}},
      {"over 1 MiB", {" is larger than 1 MiB; using the defaults", 5000}},
      {"binary bytes", {"", 100}},
  };
  for (const test::BadFileKind& kind : test::BadFileKinds()) {
    const Row& row = rows.at(kind.name);
    test::TempDir dir;
    const std::string path = dir.File("ZvUsbSgl.conf");
    kind.make(path, "\nread_timeout_ms = 100\n");
    const std::string before = test::Fingerprint(path);
    test::HangGuard guard;
    ConfigResult result = LoadUsbConfig(path);
    EXPECT_EQ(result.config.readTimeoutMs, row.readTimeoutMs) << kind.name;
    EXPECT_EQ(result.damage, row.damage[0] != '\0' ? path + row.damage : "") << kind.name;
    EXPECT_FALSE(result.errors.empty()) << kind.name;
    EXPECT_EQ(test::Fingerprint(path), before) << kind.name;
  }
}

}  // namespace
}  // namespace qv70::usbsgl
