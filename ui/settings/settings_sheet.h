// The settings sheet: a modal property sheet "設定" with the pages 全般, 検索, IE連携 and
// 履歴編集. It edits the in-memory settings and the history list only.
#pragma once
#include <windows.h>

#include "platform/app_state.h"
#include "ui/settings/sheet_hooks.h"

struct SheetOutcome {
    bool applied; // a page other than 検索 was confirmed
};

// Runs the sheet modally, owned by the search bar.
SheetOutcome RunSettingsSheet(HWND bar, AppState& app, const SheetHooks& hooks);
