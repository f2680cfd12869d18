// The about box: dialog 102, modal, owned by the search bar.
#pragma once
#include <windows.h>

#include "platform/app_state.h"

#define MORVEL_HOME_PAGE "https://morvel.jp/"

void RunAboutBox(HWND owner, AppState& app);
