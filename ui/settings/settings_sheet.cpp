#include "ui/settings/settings_sheet.h"

#include "platform/handles.h"
#include "ui/common/resource.h"
#include "ui/settings/general_page.h"
#include "ui/settings/history_page.h"
#include "ui/settings/menu_ext_page.h"
#include "ui/settings/page_helpers.h"
#include "ui/settings/search_page.h"

namespace {

constexpr int kPages = 4;

UniquePropSheetPage MakePage(HINSTANCE instance, int templateId, DLGPROC proc, void* state) {
    PROPSHEETPAGEW psp = {};
    psp.dwSize = sizeof psp;
    psp.dwFlags = PSP_HASHELP;
    psp.hInstance = instance;
    psp.pszTemplate = MAKEINTRESOURCEW(templateId);
    psp.pfnDlgProc = proc;
    psp.lParam = reinterpret_cast<LPARAM>(state);
    return UniquePropSheetPage(CreatePropertySheetPageW(&psp));
}

} // namespace

SheetOutcome RunSettingsSheet(HWND bar, AppState& app, const SheetHooks& hooks) {
    SettingsSheetShared shared(bar, app, hooks);
    GeneralPage general;
    general.sheet = &shared;
    SearchPage search;
    search.sheet = &shared;
    MenuExtPage menuExt;
    menuExt.sheet = &shared;
    HistoryPage history;
    history.sheet = &shared;

    UniquePropSheetPage pages[kPages] = {
        MakePage(app.instance, IDD_PAGE_GENERAL, GeneralPageProc, &general),
        MakePage(app.instance, IDD_PAGE_SEARCH, SearchPageProc, &search),
        MakePage(app.instance, IDD_PAGE_MENU_EXT, MenuExtPageProc, &menuExt),
        MakePage(app.instance, IDD_PAGE_HISTORY, HistoryPageProc, &history),
    };
    for (const UniquePropSheetPage& p : pages)
        if (!p) return {false}; // the pages made so far are destroyed by their owners

    HPROPSHEETPAGE handles[kPages];
    for (int i = 0; i < kPages; ++i)
        handles[i] = pages[i].release(); // the sheet destroys its pages when it closes

    PROPSHEETHEADERW psh = {};
    psh.dwSize = sizeof psh;
    psh.dwFlags = PSH_NOAPPLYNOW | PSH_HASHELP;
    psh.hwndParent = bar;
    psh.hInstance = app.instance;
    psh.pszCaption = L"設定";
    psh.nPages = kPages;
    psh.nStartPage = 0;
    psh.phpage = handles;
    PropertySheetW(&psh);
    return {shared.applied};
}
