// Command, control and resource identifiers of vantu (shared by code and resource scripts),
// grouped by window. Controls of different windows may share a number; a window's own
// numbers never repeat. Menu commands keep their ranges: 40001-40005 the bar, 40011-40028
// the editor, 40100 + n, 40200 + n and 40300 + n the lists (protocol/bar_protocol.h).
#pragma once
#include "protocol/bar_protocol.h"

// Dialog templates
#define IDD_SEARCHBAR 100
#define IDD_EDITOR 101
#define IDD_ABOUT 102

// Icons and cursors
#define IDI_MORVEL 200
#define IDC_HAND_LINK 201

// Search bar controls
#define IDC_SEARCH 1000
#define IDC_KEYWORD 1001
#define IDC_MODE 1003
#define IDC_ENGINE 1005

// About box controls
#define IDC_ABOUT_OK 1007
#define IDC_ABOUT_LINK 1020
#define IDC_ABOUT_ICON 1022
#define IDC_ABOUT_NAME 1023
#define IDC_ABOUT_VERSION 1037
#define IDC_ABOUT_DATA 1040 // where the settings and the engine files are kept

// Menu and window commands
#define IDM_EXIT 40001
#define IDM_HELP 40002
#define IDM_ABOUT 40003
#define IDM_SETTINGS 40004
#define IDM_EDITOR 40005
// 40100 + n, 40200 + n and 40300 + n (engine files, history items, engine entries) are in
// protocol/bar_protocol.h: other programs send them too.
// The "(なし)" placeholder of an empty history menu: greyed, never sent; outside every range.
#define IDM_HISTORY_NONE 40250

// The search bar's hotkey that summons it
#define ID_HOTKEY_SUMMON 1
#define ID_HOTKEY_SELECT 2 // the summon key that brings the selection

// The window messages, the bar's title and its class are in protocol/bar_protocol.h; the
// version (MORVEL_VERSION_TEXT) is generated from the build into morvel_version.h.

// Engine file editor
#define IDD_ENTRY 105
#define IDR_EDITOR_MENU 106
#define IDD_FILE_NAME 109
// Editor window (dialog 101)
#define IDC_DELETE_ENTRY 1027
#define IDC_EDIT_ENTRY 1029
#define IDC_MOVE_UP 1031
#define IDC_MOVE_DOWN 1032
#define IDC_ENGINE_LIST 1035
#define IDC_ENGINE_LIST_GROUP 1038
#define IDC_IMPORT 1042
// Entry dialog (dialog 105); its help button is IDHELP (9)
#define IDC_URL1_HEAD 1004
#define IDC_URL1_KEY 1006
#define IDC_URL1_TAIL 1008
#define IDC_URL2_HEAD 1010
#define IDC_URL2_KEY 1012
#define IDC_URL2_TAIL 1015
#define IDC_ENTRY_NAME 1017
#define IDC_ENTRY_CHARACTER 1019
#define IDC_ENTRY_KEYWORD 1020
#define IDC_ENTRY_SUGGEST 1013
// File-name dialog (dialog 109)
#define IDC_FILE_NAME 1047
// Editor menu (menu 106)
#define IDM_FILE_PLACEHOLDER 0 // "DUMMY": replaced by the engine file popup at open, never sent
#define IDM_IMPORT_DEFINITIONS 40011
#define IDM_EDIT_ENTRY 40012
#define IDM_DELETE_ENTRY 40013
#define IDM_EXPORT_DEFINITION 40014
#define IDM_NEW_ENTRY 40015
#define IDM_MOVE_UP 40016
#define IDM_MOVE_DOWN 40017
#define IDM_COPY_ENTRY 40018
#define IDM_PASTE_ENTRY 40019
#define IDM_NEW_FILE 40020
#define IDM_CLOSE_EDITOR 40021
#define IDM_EDITOR_HELP 40022
#define IDM_SAVE_FILE 40023
#define IDM_DELETE_FILE 40024
#define IDM_SAVE_AS 40025     // disabled, no action
#define IDM_RENAME_FILE 40026 // disabled, no action
#define IDM_IMPORT_OPENSEARCH 40027
#define IDM_EXPORT_OPENSEARCH 40028
// Settings sheet
#define IDD_PAGE_GENERAL 103
#define IDD_PAGE_SEARCH 104
#define IDD_PAGE_HISTORY 107
#define IDD_PAGE_MENU_EXT 108
// page 全般
#define IDC_GEN_TOPMOST 1033
#define IDC_GEN_TRAY 1011
#define IDC_GEN_HIDE_ON_MINIMIZE 1009
#define IDC_GEN_HIDE_ON_CLOSE 1017
#define IDC_GEN_NO_TIPS 1016
#define IDC_GEN_HOTKEY 1050
#define IDC_GEN_RUN_AT_LOGON 1052
#define IDC_GEN_SELECT_HOTKEY 1054
// page 検索
#define IDC_SRCH_SOUND 1024
#define IDC_SRCH_AUTO_SEARCH 1026
#define IDC_SRCH_HISTORY_ON 1028
#define IDC_SRCH_HISTORY_SIZE 1039
#define IDC_SRCH_AUTOCOMPLETE 1051
#define IDC_SRCH_SUGGEST 1053
#define IDC_SRCH_BROWSER_GROUP 1025
#define IDC_SRCH_BROWSER_NAME 1018
#define IDC_SRCH_BROWSER_DEFAULT 1021
#define IDC_SRCH_BROWSER_CHANGE 1014
// page IE連携
#define IDC_MEXT_ENABLE 1046
#define IDC_MEXT_BROWSERS 1048      // Chrome, Edge and Firefox through the host
#define IDC_MEXT_BROWSERS_NOTE 1049 // how to add the extension
// page 履歴編集
#define IDC_HIST_LIST 1043
#define IDC_HIST_UP 1031
#define IDC_HIST_DOWN 1032
#define IDC_HIST_DELETE 1027
#define IDC_HIST_DELETE_ALL 1028
#define IDC_HIST_COUNT 1044
// help contexts of the pages
#define HELP_CTX_GENERAL 7
#define HELP_CTX_SEARCH 14
#define HELP_CTX_MENU_EXT 67
#define HELP_CTX_HISTORY 61

// Controls without an id (group boxes, fixed texts)
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
