// Where the tests find what the build made: the ready-to-run folder and the helper programs
// (the environment variables MORVEL_DIST_DIR and MORVEL_HELPER_DIR win over the folders
// compiled in).
#pragma once
#include <string>

// A Unix path ("/work/x") as Wine sees it ("Z:\work\x\"), with a trailing backslash;
// Windows paths keep their form.
std::string WindowsPath(std::string p);
// The ready-to-run folder (vantu.exe, Pelka.dll, the default engine file), trailing backslash.
std::string DistDir();
// The folder of the helper programs (fake_browser.exe and others), trailing backslash.
std::string HelperDir();
// The recording stand-in browser.
std::string FakeBrowserPath();
// The built library of the ready-to-run folder.
std::string BuiltBridgePath();

// Name of the default engine file ("標準.sef" in Shift-JIS).
extern const char* const kDefaultSef;
