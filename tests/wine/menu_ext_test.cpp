// The bridge's registration in process, with each of its failure messages, and the key as
// written (the working path is tested end to end through the sheet).
#include "ui/settings/menu_ext_page.h"

#include "platform/menu_ext_registration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/text.h"
#include "tests/support//box_answerer.h"
#include "tests/support/file_text.h"
#include "tests/support/registry_table.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

class MenuExt : public ::testing::Test {
  protected:
    void SetUp() override { RemoveFromRegistry(MenuExtensionTable("")); }
    void TearDown() override {
        RemoveFromRegistry(MenuExtensionTable(""));
        RunProgram("regsvr32.exe /s /u \"" + dir.path() + "Pelka.dll\"");
    }
    TempDir dir;
};

// Each failure shows its one message; a failed registration writes no key, a failed
// unregistration still deletes it.
TEST_F(MenuExt, FailuresAndTheirMessages) {
    const std::string missing = "「Pelka.dll」が見つかりません。";
    {
        BoxAnswerer boxes;
        EXPECT_FALSE(CallBridgeRegistration(nullptr, Widen(dir.path()).c_str(), true));
        SetMenuExtension(nullptr, Widen(dir.path()).c_str(), true);
        EXPECT_FALSE(IsMenuExtensionPresent());
        ASSERT_TRUE(WriteMenuExtensionKey(Widen(dir.path()).c_str()));
        EXPECT_EQ(RegistryDifferences(MenuExtensionTable(dir / "Pelka.dll")), "");
        SetMenuExtension(nullptr, Widen(dir.path()).c_str(), false);
        EXPECT_FALSE(IsMenuExtensionPresent());
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{missing, missing, missing}));
    }
    {
        // A folder of that name is no library either.
        ASSERT_TRUE(CreateDirectoryA((dir.path() + "Pelka.dll").c_str(), nullptr));
        BoxAnswerer boxes;
        EXPECT_FALSE(CallBridgeRegistration(nullptr, Widen(dir.path()).c_str(), false));
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{missing});
        RemoveDirectoryA((dir.path() + "Pelka.dll").c_str());
    }
    {
        ASSERT_TRUE(WriteFileText(dir.path() + "Pelka.dll", "no library"));
        BoxAnswerer boxes;
        EXPECT_FALSE(CallBridgeRegistration(nullptr, Widen(dir.path()).c_str(), true));
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"「Pelka.dll」のロードに失敗しました。"});
    }
    {
        // A module without the entry points: a program file under the library's name.
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, sizeof self);
        ASSERT_TRUE(CopyFileA(self, (dir.path() + "Pelka.dll").c_str(), FALSE));
        BoxAnswerer boxes;
        EXPECT_FALSE(CallBridgeRegistration(nullptr, Widen(dir.path()).c_str(), true));
        SetMenuExtension(nullptr, Widen(dir.path()).c_str(), true);
        EXPECT_FALSE(IsMenuExtensionPresent());
        const std::string entry = "「Pelka.dll」のエントリーポイントが見つかりません。";
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{entry, entry}));
    }
}

} // namespace
