// The bridge's registration in process, with each of its failure messages (the working
// path is tested end to end through the sheet).
#include "ui/settings/menu_ext_page.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/app_state.h"
#include "platform/handles.h"
#include "protocol/bar_protocol.h"
#include "tests/support/run_program.h"
#include "wine_support.h"

namespace {

// Answers the message boxes of this process ("Morvel") from another thread, keeping
// their texts in order, while the code under test runs on the test's thread.
class BoxAnswerer {
  public:
    BoxAnswerer() : thread_([this] { Run(); }) {}
    ~BoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    std::vector<std::string> Texts() {
        stop_ = true;
        thread_.join();
        thread_ = std::thread([] {});
        return texts_;
    }

  private:
    void Run() {
        while (!stop_) {
            HWND box = nullptr;
            EnumWindows(
                [](HWND w, LPARAM lp) -> BOOL {
                    DWORD pid = 0;
                    GetWindowThreadProcessId(w, &pid);
                    char title[64] = {};
                    GetWindowTextA(w, title, sizeof title);
                    if (pid == GetCurrentProcessId() && IsWindowVisible(w) &&
                        lstrcmpA(title, MORVEL_TITLE) == 0) {
                        *reinterpret_cast<HWND*>(lp) = w;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&box));
            if (box) {
                char text[256] = {};
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                texts_.push_back(text);
                SendMessageA(box, WM_COMMAND, IDOK, 0);
                while (IsWindow(box))
                    Sleep(10);
            }
            Sleep(20);
        }
    }
    std::atomic<bool> stop_{false};
    std::vector<std::string> texts_;
    std::thread thread_;
};

class MenuExt : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, MORVEL_MENU_EXT_KEY); }
    void TearDown() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, MORVEL_MENU_EXT_KEY);
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
        EXPECT_FALSE(CallBridgeRegistration(nullptr, dir.path().c_str(), true));
        SetMenuExtension(nullptr, dir.path().c_str(), true);
        EXPECT_FALSE(IsMenuExtensionPresent());
        ASSERT_TRUE(WriteMenuExtensionKey(dir.path().c_str()));
        SetMenuExtension(nullptr, dir.path().c_str(), false);
        EXPECT_FALSE(IsMenuExtensionPresent());
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{missing, missing, missing}));
    }
    {
        // A folder of that name is no library either.
        ASSERT_TRUE(CreateDirectoryA((dir.path() + "Pelka.dll").c_str(), nullptr));
        BoxAnswerer boxes;
        EXPECT_FALSE(CallBridgeRegistration(nullptr, dir.path().c_str(), false));
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{missing});
        RemoveDirectoryA((dir.path() + "Pelka.dll").c_str());
    }
    {
        ASSERT_TRUE(WriteFileText(dir.path() + "Pelka.dll", "no library"));
        BoxAnswerer boxes;
        EXPECT_FALSE(CallBridgeRegistration(nullptr, dir.path().c_str(), true));
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"「Pelka.dll」のロードに失敗しました。"});
    }
    {
        // A module without the entry points: a program file under the library's name.
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, sizeof self);
        ASSERT_TRUE(CopyFileA(self, (dir.path() + "Pelka.dll").c_str(), FALSE));
        BoxAnswerer boxes;
        EXPECT_FALSE(CallBridgeRegistration(nullptr, dir.path().c_str(), true));
        SetMenuExtension(nullptr, dir.path().c_str(), true);
        EXPECT_FALSE(IsMenuExtensionPresent());
        const std::string entry = "「Pelka.dll」のエントリーポイントが見つかりません。";
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{entry, entry}));
    }
}

} // namespace
