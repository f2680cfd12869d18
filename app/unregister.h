// What the switch /unregister does: removes everything this program registered for the user
// (starting with Windows, the browser host's keys and manifests, the browser's context-menu
// key and the bridge's class when it is registered to the library beside this program),
// shows nothing and touches no settings or engine file. An uninstaller calls it.
#pragma once
#include "platform/app_state.h"

// 0 when everything is gone, 1 when something could not be removed.
int RunUnregister(const ProgramPaths& paths);
