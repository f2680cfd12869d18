#include "host/host_manifest.h"

#include <gtest/gtest.h>

namespace {

TEST(HostManifest, BothFamilies) {
    EXPECT_EQ(
        host::HostManifest(host::BrowserFamily::kChromium, u8"C:\\Morvel \"β\"\\morvel-host.exe"),
        std::string("{\n  \"name\": \"jp.morvel.vantu\",\n"
                    "  \"description\": \"Morvel search bar\",\n") +
            u8"  \"path\": \"C:\\\\Morvel \\\"β\\\"\\\\morvel-host.exe\",\n"
            "  \"type\": \"stdio\",\n"
            "  \"allowed_origins\": [\"chrome-extension://ileoknfgfokkeieckaakfgoeebbpdkgb/\"]\n"
            "}\n");
    const std::string firefox = host::HostManifest(host::BrowserFamily::kFirefox, "C:\\m.exe");
    EXPECT_NE(firefox.find("  \"allowed_extensions\": [\"vantu@morvel.jp\"]\n"), std::string::npos);
    EXPECT_EQ(firefox.find("allowed_origins"), std::string::npos) << "Firefox refuses it";
    EXPECT_EQ(host::JsonString(std::string("a\x01\t\n\r/", 6)), "\"a\\u0001\\t\\n\\r/\"");
}

} // namespace
