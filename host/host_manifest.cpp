#include "host/host_manifest.h"

#include <cstdio>

namespace host {

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (const char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", c);
                out += esc;
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

std::string HostManifest(BrowserFamily family, const std::string& hostPath) {
    std::string m = "{\n";
    m += "  \"name\": " + JsonString(kHostName) + ",\n";
    m += "  \"description\": \"Morvel search bar\",\n";
    m += "  \"path\": " + JsonString(hostPath) + ",\n";
    m += "  \"type\": \"stdio\",\n";
    if (family == BrowserFamily::kChromium) {
        m += "  \"allowed_origins\": [" +
             JsonString(std::string("chrome-extension://") + kChromiumExtensionId + "/") + "]\n";
    } else {
        m += "  \"allowed_extensions\": [" + JsonString(kFirefoxExtensionId) + "]\n";
    }
    return m + "}\n";
}

} // namespace host
