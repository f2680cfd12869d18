# The Windows-free decisions of the search bar, the engine file editor and the settings sheet:
# part of the core library on every platform.
target_sources(morvel_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bar_logic.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/editor_logic.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/settings_logic.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/hotkey_logic.cpp)
