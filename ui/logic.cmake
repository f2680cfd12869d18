# The search bar's and the settings sheet's Windows-free decisions: part of the core library
# on every platform.
target_sources(morvel_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bar_logic.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/settings_logic.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/hotkey_logic.cpp)
