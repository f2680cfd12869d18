#include "ui/settings_sheet.h"

#include "app/globals.h"
#include "app/handles.h"
#include "ui/general_page.h"
#include "ui/history_page.h"
#include "ui/menu_ext_page.h"
#include "ui/open_dialog.h"
#include "ui/resource.h"
#include "ui/search_page.h"

namespace {

constexpr int kPages = 4;

UniquePropSheetPage MakePage(int templateId, DLGPROC proc, void* state) {
    PROPSHEETPAGEA psp = {};
    psp.dwSize = sizeof psp;
    psp.dwFlags = PSP_HASHELP;
    psp.hInstance = g_instance;
    psp.pszTemplate = MAKEINTRESOURCEA(templateId);
    psp.pfnDlgProc = proc;
    psp.lParam = reinterpret_cast<LPARAM>(state);
    return UniquePropSheetPage(CreatePropertySheetPageA(&psp));
}

} // namespace

INT_PTR PageResult(HWND page, LONG_PTR result) {
    SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
    return TRUE;
}

void ShowPageHelp(HWND page, DWORD context) {
    WinHelpA(GetParent(page), g_helpPath, HELP_CONTEXT, context);
}

bool IsTicked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

void SetTicked(HWND page, int id, bool ticked) {
    CheckDlgButton(page, id, ticked ? BST_CHECKED : BST_UNCHECKED);
}

bool ShowSettingsSheet(HWND bar) {
    SettingsSheetShared shared;
    shared.bar = bar;
    GeneralPage general;
    general.sheet = &shared;
    SearchPage search;
    search.sheet = &shared;
    MenuExtPage menuExt;
    menuExt.sheet = &shared;
    HistoryPage history;
    history.sheet = &shared;

    UniquePropSheetPage pages[kPages] = {
        MakePage(IDD_PAGE_GENERAL, GeneralPageProc, &general),
        MakePage(IDD_PAGE_SEARCH, SearchPageProc, &search),
        MakePage(IDD_PAGE_MENU_EXT, MenuExtPageProc, &menuExt),
        MakePage(IDD_PAGE_HISTORY, HistoryPageProc, &history),
    };
    for (const UniquePropSheetPage& p : pages)
        if (!p) return false; // the pages made so far are destroyed by their owners

    HPROPSHEETPAGE handles[kPages];
    for (int i = 0; i < kPages; ++i)
        handles[i] = pages[i].release(); // the sheet destroys its pages when it closes

    PROPSHEETHEADERA psh = {};
    psh.dwSize = sizeof psh;
    psh.dwFlags = PSH_NOAPPLYNOW | PSH_HASHELP;
    psh.hwndParent = bar;
    psh.hInstance = g_instance;
    psh.pszCaption = "設定";
    psh.nPages = kPages;
    psh.nStartPage = 0;
    psh.phpage = handles;
    PropertySheetA(&psh);

    SetOpenDialog(nullptr);
    return shared.applied;
}
