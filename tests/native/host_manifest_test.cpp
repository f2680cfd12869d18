#include "protocol/native_host_manifest.h"

#include <gtest/gtest.h>

namespace {

std::string Manifest(host::BrowserFamily family, std::string_view path) {
    FixedText<host::kHostManifestSize> m;
    EXPECT_TRUE(host::HostManifest(m, family, path));
    return std::string(m.view());
}

std::string Json(std::string_view text) {
    FixedText<64> j;
    host::AppendJsonString(j, text);
    return std::string(j.view());
}

TEST(HostManifest, BothFamilies) {
    EXPECT_EQ(
        Manifest(host::BrowserFamily::kChromium, u8"C:\\Morvel \"β\"\\morvel-host.exe"),
        std::string("{\n  \"name\": \"jp.morvel.vantu\",\n"
                    "  \"description\": \"Morvel search bar\",\n") +
            u8"  \"path\": \"C:\\\\Morvel \\\"β\\\"\\\\morvel-host.exe\",\n"
            "  \"type\": \"stdio\",\n"
            "  \"allowed_origins\": [\"chrome-extension://ileoknfgfokkeieckaakfgoeebbpdkgb/\"]\n"
            "}\n");
    const std::string firefox = Manifest(host::BrowserFamily::kFirefox, "C:\\m.exe");
    EXPECT_NE(firefox.find("  \"allowed_extensions\": [\"vantu@morvel.jp\"]\n"), std::string::npos);
    EXPECT_EQ(firefox.find("allowed_origins"), std::string::npos) << "Firefox refuses it";
    // A manifest that does not fit is refused, not written cut.
    FixedText<64> small;
    EXPECT_FALSE(host::HostManifest(small, host::BrowserFamily::kFirefox, "C:\\m.exe"));
    EXPECT_EQ(Json(std::string_view("a\x01\t\n\r/", 6)), "\"a\\u0001\\t\\n\\r/\"");
}

} // namespace
