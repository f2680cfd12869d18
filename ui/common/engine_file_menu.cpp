#include "ui/common/engine_file_menu.h"

#include "base/text.h"
#include "platform/win_text.h"
#include "ui/common/resource.h"

void AppendEngineFileItems(HMENU menu, const EngineFileCatalogue& catalogue, int checked,
                           EngineFileLabels labels) {
    const int files = CatalogueSize(catalogue);
    for (int n = 0; n < files; ++n) {
        const char* name = catalogue.names[n];
        const FixedText<kCatalogueNameSize> label(
            labels == EngineFileLabels::WithoutExtension
                ? EngineFileLabel(name)
                : std::string_view(name, FieldLength(name, kCatalogueNameSize)));
        const UINT flags = MF_STRING | (n == checked ? MF_CHECKED : MF_UNCHECKED);
        AppendMenuW(menu, flags, IDM_ENGINE_FILE_FIRST + n,
                    FromSjis<kCatalogueNameSize>(label.view()).c_str());
    }
}
