# Makes the Firefox copy of the browser extension from its one source: the same files, with a
# manifest without "key", which only Chromium reads (it fixes the extension's id there) and
# about which Firefox warns as it does about every member it does not know. Firefox takes
# the id from browser_specific_settings, which the source carries and Chromium ignores.
# Usage: cmake -DSOURCE=<browser/extension> -DDEST=<folder> -P firefox_extension.cmake
file(REMOVE_RECURSE "${DEST}")
file(COPY "${SOURCE}/" DESTINATION "${DEST}" PATTERN manifest.json EXCLUDE)

file(READ "${SOURCE}/manifest.json" manifest)
# The member is taken out as a line, so that the rest stays as written.
string(REGEX REPLACE "\n[ \t]*\"key\"[ \t]*:[ \t]*\"[^\"]*\"[ \t]*,[ \t]*\n" "\n" firefox
                     "${manifest}")
string(JSON members ERROR_VARIABLE error LENGTH "${manifest}")
string(JSON left ERROR_VARIABLE left_error LENGTH "${firefox}")
string(JSON key ERROR_VARIABLE no_key GET "${firefox}" key)
string(JSON gecko_id ERROR_VARIABLE no_id GET "${firefox}" browser_specific_settings gecko id)
math(EXPR expected "${members} - 1")
if(error OR left_error OR NOT no_key OR no_id OR NOT left EQUAL expected)
  message(FATAL_ERROR "${SOURCE}/manifest.json: expected one line \"key\": \"...\", and "
                      "browser_specific_settings.gecko.id, in a valid manifest")
endif()
file(WRITE "${DEST}/manifest.json" "${firefox}")
