#include "protocol/native_host_manifest.h"

namespace host {

void AppendJsonString(TextBuffer& out, std::string_view utf8) {
    static const char kHex[] = "0123456789abcdef";
    out.Append('"');
    for (const char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out.Append("\\\"");
            break;
        case '\\':
            out.Append("\\\\");
            break;
        case '\n':
            out.Append("\\n");
            break;
        case '\r':
            out.Append("\\r");
            break;
        case '\t':
            out.Append("\\t");
            break;
        default:
            if (c < 0x20) {
                const char esc[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
                out.Append(std::string_view(esc, sizeof esc));
            } else {
                out.Append(ch);
            }
        }
    }
    out.Append('"');
}

bool HostManifest(TextBuffer& out, BrowserFamily family, std::string_view hostPath) {
    out.clear();
    out.Append("{\n  \"name\": ");
    AppendJsonString(out, kHostName);
    out.Append(",\n  \"description\": \"Morvel search bar\",\n  \"path\": ");
    AppendJsonString(out, hostPath);
    out.Append(",\n  \"type\": \"stdio\",\n");
    if (family == BrowserFamily::kChromium) {
        out.Append("  \"allowed_origins\": [\"chrome-extension://");
        out.Append(kChromiumExtensionId);
        out.Append("/\"]\n");
    } else {
        out.Append("  \"allowed_extensions\": [");
        AppendJsonString(out, kFirefoxExtensionId);
        out.Append("]\n");
    }
    out.Append("}\n");
    return !out.cut();
}

} // namespace host
