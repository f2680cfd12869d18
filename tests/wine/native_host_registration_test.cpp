// The browser host's per-user registration: exactly the three keys and the two manifests
// are written and removed, and the check reads what the registry holds.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/native_host_registration.h"
#include "protocol/native_host_manifest.h"
#include "tests/support/file_text.h"
#include "tests/support/registry_table.h"
#include "tests/support/temp_dir.h"
#include "tests/support/text.h"

namespace {

constexpr char kSibling[] = "Software\\Google\\Chrome\\NativeMessagingHosts\\other.host";

class NativeHostRegistration : public ::testing::Test {
  protected:
    void SetUp() override {
        // The prefix's registry outlives the session: start from nothing of ours.
        RemoveFromRegistry(BrowserHostTable(""));
        HKEY raw = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSibling, 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &raw, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(raw);
    }
    void TearDown() override {
        RemoveFromRegistry(BrowserHostTable(""));
        RegDeleteKeyA(HKEY_CURRENT_USER, kSibling);
    }
    bool NothingOfOurs(const TempDir& dir) {
        return RegistryLeftovers(BrowserHostTable(dir.path())).empty() &&
               !PathExists(dir / host::kChromiumManifestName) &&
               !PathExists(dir / host::kFirefoxManifestName);
    }
};

TEST_F(NativeHostRegistration, WritesAndRemovesExactlyItsKeysAndFiles) {
    // Also a directory with a 0x5C trail byte, and manifests in a data folder of their own.
    const struct {
        const char* suffix;
        bool dataFolder;
    } cases[] = {{"", false}, {"ソ表", false}, {"", true}};
    for (const auto& c : cases) {
        const char* suffix = c.suffix;
        TempDir program(suffix), data;
        const TempDir& dir = c.dataFolder ? data : program;
        const std::wstring programDir = Widen(program.path()), manifestDir = Widen(dir.path());
        const wchar_t* p = programDir.c_str();
        const wchar_t* m = manifestDir.c_str();
        ASSERT_TRUE(WriteFileText(program / "morvel-host.exe", "MZ"));
        EXPECT_FALSE(IsNativeHostRegistered(p, m));
        ASSERT_EQ(RegisterNativeHost(p, m), NativeHostResult::kOk) << suffix;
        EXPECT_TRUE(IsNativeHostRegistered(p, m));
        EXPECT_EQ(c.dataFolder, !IsNativeHostRegistered(p, p));

        EXPECT_EQ(RegistryDifferences(BrowserHostTable(dir.path())), "");
        const std::string hostPath = Utf8(Widen(program / "morvel-host.exe"));
        FixedText<host::kHostManifestSize> chromiumText, firefoxText;
        ASSERT_TRUE(host::HostManifest(chromiumText, host::BrowserFamily::kChromium, hostPath));
        ASSERT_TRUE(host::HostManifest(firefoxText, host::BrowserFamily::kFirefox, hostPath));
        EXPECT_EQ(ReadFileText(dir / host::kChromiumManifestName), chromiumText.view());
        EXPECT_EQ(ReadFileText(dir / host::kFirefoxManifestName), firefoxText.view());
        // Registering again gives the same.
        ASSERT_EQ(RegisterNativeHost(p, m), NativeHostResult::kOk);
        EXPECT_EQ(RegistryDifferences(BrowserHostTable(dir.path())), "");

        ASSERT_EQ(UnregisterNativeHost(m), NativeHostResult::kOk);
        EXPECT_TRUE(NothingOfOurs(dir));
        EXPECT_FALSE(IsNativeHostRegistered(p, m));
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSibling)) << "another host's key went too";
        EXPECT_EQ(ReadFileText(program / "morvel-host.exe"), "MZ");
        // Removing what is gone already is no error.
        EXPECT_EQ(UnregisterNativeHost(m), NativeHostResult::kOk);
    }
}

TEST_F(NativeHostRegistration, RefusesOrUndoesWhatCannotBeWhole) {
    TempDir dir;
    // No host program beside the manifests: nothing is written.
    EXPECT_EQ(RegisterNativeHost(Widen(dir.path()).c_str(), Widen(dir.path()).c_str()),
              NativeHostResult::kHostMissing);
    EXPECT_TRUE(NothingOfOurs(dir));
    // A manifest that cannot be written (a directory in its place): no keys either.
    ASSERT_TRUE(WriteFileText(dir / "morvel-host.exe", "MZ"));
    ASSERT_TRUE(CreateDirectoryA((dir / host::kFirefoxManifestName).c_str(), nullptr));
    EXPECT_EQ(RegisterNativeHost(Widen(dir.path()).c_str(), Widen(dir.path()).c_str()),
              NativeHostResult::kManifestFailed);
    EXPECT_EQ(RegistryLeftovers(BrowserHostTable(dir.path())), "");
    EXPECT_FALSE(PathExists(dir / host::kChromiumManifestName));
    RemoveDirectoryA((dir / host::kFirefoxManifestName).c_str());
}

TEST_F(NativeHostRegistration, ShowsWhatTheRegistryHolds) {
    TempDir here, there;
    ASSERT_TRUE(WriteFileText(here / "morvel-host.exe", "MZ"));
    ASSERT_TRUE(WriteFileText(there / "morvel-host.exe", "MZ"));
    ASSERT_EQ(RegisterNativeHost(Widen(there.path()).c_str(), Widen(there.path()).c_str()),
              NativeHostResult::kOk);
    EXPECT_FALSE(IsNativeHostRegistered(Widen(here.path()).c_str(), Widen(here.path()).c_str()))
        << "another copy's registration";
    ASSERT_EQ(RegisterNativeHost(Widen(here.path()).c_str(), Widen(here.path()).c_str()),
              NativeHostResult::kOk);
    EXPECT_TRUE(IsNativeHostRegistered(Widen(here.path()).c_str(), Widen(here.path()).c_str()));
    // One key missing, or one manifest gone: not registered.
    ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, kHostKeys[1]), ERROR_SUCCESS);
    EXPECT_FALSE(IsNativeHostRegistered(Widen(here.path()).c_str(), Widen(here.path()).c_str()));
    ASSERT_EQ(RegisterNativeHost(Widen(here.path()).c_str(), Widen(here.path()).c_str()),
              NativeHostResult::kOk);
    ASSERT_TRUE(DeleteFileA((here / host::kFirefoxManifestName).c_str()));
    EXPECT_FALSE(IsNativeHostRegistered(Widen(here.path()).c_str(), Widen(here.path()).c_str()));
    EXPECT_EQ(UnregisterNativeHost(Widen(here.path()).c_str()), NativeHostResult::kOk);
    EXPECT_TRUE(NothingOfOurs(here));
    DeleteFileA((there / host::kChromiumManifestName).c_str());
    DeleteFileA((there / host::kFirefoxManifestName).c_str());
}

} // namespace
