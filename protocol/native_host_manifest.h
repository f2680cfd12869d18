// The browser host's identity and the manifests that tell the browsers where the host is and
// which extension may talk to it: what the browsers, the host and the program's registration
// share. No Windows needed.
#pragma once
#include <string_view>

#include "base/text.h"

namespace host {

constexpr char kHostName[] = "jp.morvel.vantu";
constexpr char kHostProgram[] = "morvel-host.exe";
// The extension's id in Chromium-family browsers, fixed by the public key in its manifest.
constexpr char kChromiumExtensionId[] = "ileoknfgfokkeieckaakfgoeebbpdkgb";
// Its id in Firefox (browser_specific_settings.gecko.id).
constexpr char kFirefoxExtensionId[] = "vantu@morvel.jp";

// Manifest file names beside the program: Firefox refuses a manifest that lists
// allowed_origins, so each family has its own.
constexpr char kChromiumManifestName[] = "jp.morvel.vantu.chromium.json";
constexpr char kFirefoxManifestName[] = "jp.morvel.vantu.firefox.json";

enum class BrowserFamily { kChromium, kFirefox };

// Appends a JSON string literal (quotes included) for UTF-8 text.
void AppendJsonString(TextBuffer& out, std::string_view utf8);

// The manifest text (UTF-8 JSON) for a host program at hostPath (UTF-8, absolute) into out;
// false when it did not fit.
bool HostManifest(TextBuffer& out, BrowserFamily family, std::string_view hostPath);

// Room for any manifest of a host path of up to MAX_PATH characters in UTF-8, escaped.
constexpr size_t kHostManifestSize = 4096;

} // namespace host
