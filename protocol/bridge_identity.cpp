#include "protocol/bridge_identity.h"

#include "base/text.h"

bool MenuExtensionAddress(char* out, size_t outSize, const char* programDir) {
    if (outSize == 0) return false;
    if (JoinText(out, outSize, {"res://", programDir, PELKA_FILE "/SETSTRING"}) < outSize)
        return true;
    out[0] = '\0';
    return false;
}
