// The engine file list of a menu: one item per used catalogue slot (IDM_ENGINE_FILE_FIRST + n),
// one of them checked. The bar's menus show the names without ".sef", the editor's whole.
#pragma once
#include <windows.h>

#include "engines/catalogue.h"

enum class EngineFileLabels { WithoutExtension, WholeName };

void AppendEngineFileItems(HMENU menu, const EngineFileCatalogue& catalogue, int checked,
                           EngineFileLabels labels);
