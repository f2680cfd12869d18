// The engine entry builder of the tests (texts are Shift-JIS as written in the test source).
#pragma once
#include <cstring>
#include <string>

#include "base/text.h"
#include "engines/engine_entry.h"

inline EngineEntry MakeEntry(const std::string& name, const std::string& head1,
                             const std::string& key1 = "+", const std::string& tail1 = "",
                             const std::string& head2 = "", const std::string& key2 = "",
                             const std::string& tail2 = "", uint8_t character = 0,
                             uint8_t urlMode = 0) {
    EngineEntry e;
    std::memset(&e, 0, sizeof e);
    CopyToField(e.Name, name);
    CopyToField(e.head[0], head1);
    CopyToField(e.key[0], key1);
    CopyToField(e.tail[0], tail1);
    CopyToField(e.head[1], head2);
    CopyToField(e.key[1], key2);
    CopyToField(e.tail[1], tail2);
    e.Character = character;
    e.UrlMode = urlMode;
    return e;
}
