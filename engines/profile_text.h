// Definition files read without Windows, for the host tools (sefgen) and the tests; the
// program reads them with the system's profile functions. Kept apart from definition.h so
// that the program never links these maps and strings.
#pragma once
#include <map>
#include <string>

#include "engines/definition.h"

// Profile-file text read with the profile reader's rules: section and key names match
// without regard to ASCII case, blanks around a value are dropped, enclosing quotation
// marks are removed, the first of repeated keys wins.
class ProfileText {
  public:
    explicit ProfileText(const std::string& text);
    // Empty when missing; cut to capacity - 1 bytes.
    std::string Text(const char* section, const char* key,
                     size_t capacity = kDefinitionValueBuffer) const;
    int Number(const char* section, const char* key, int def = 0) const;
    DefinitionReader Reader() const;

  private:
    std::map<std::string, std::map<std::string, std::string>> sections_;
};
