#include "tests/support/paths.h"

#include "tests/support/file_text.h"

#ifndef MORVEL_DIST_DIR
#define MORVEL_DIST_DIR ""
#endif
#ifndef MORVEL_HELPER_DIR
#define MORVEL_HELPER_DIR ""
#endif

const char* const kDefaultSef = "標準.sef";

std::string WindowsPath(std::string p) {
    if (!p.empty() && p[0] == '/') p = "Z:" + p;
    for (char& c : p)
        if (c == '/') c = '\\';
    if (!p.empty() && p.back() != '\\') p += '\\';
    return p;
}

namespace {
std::string EnvOr(const char* name, const char* fallback) {
    const std::string value = EnvText(name);
    return value.empty() ? fallback : value;
}
} // namespace

std::string DistDir() {
    return WindowsPath(EnvOr("MORVEL_DIST_DIR", MORVEL_DIST_DIR));
}
std::string HelperDir() {
    return WindowsPath(EnvOr("MORVEL_HELPER_DIR", MORVEL_HELPER_DIR));
}
std::string FakeBrowserPath() {
    return HelperDir() + "fake_browser.exe";
}
std::string BuiltBridgePath() {
    return DistDir() + "Pelka.dll";
}
