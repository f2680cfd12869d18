#include "ui/bar/bar_state.h"

#include "platform/engine_store.h"
#include "platform/profile_file.h"
#include "platform/win_text.h"
#include "ui/bar/hotkey_logic.h"
#include "ui/common/resource.h"

namespace {

// The past keywords to offer: the first Max of the history.
void OfferKeywords(const void* context, OfferedKeywords& keywords) {
    const AppState& app = *static_cast<const AppState*>(context);
    keywords.count = 0;
    for (int n = 0; n < app.settings.Max && n < kHistoryLimit; ++n) {
        const char16_t* text = HistoryItemAt(app.history, n);
        if (!text) break;
        keywords.text[keywords.count++].Assign(text);
    }
}

} // namespace

int EngineSelection(const SearchBar& bar) {
    return static_cast<int>(SendMessageW(bar.engine, CB_GETCURSEL, 0, 0));
}

void SelectEngine(SearchBar& bar, int index) {
    SendMessageW(bar.engine, CB_SETCURSEL, index, 0);
    ApplyModeRule(bar, index);
}

void ApplyModeRule(SearchBar& bar, int index) {
    const EngineSet& set = bar.app.activeSet;
    bool enable = false;
    if (index >= 0 && index < set.count) {
        const EngineEntry& e = set.entries[index];
        enable = e.UrlMode == 0 && HasUrl2(e);
    }
    EnableWindow(bar.mode, enable);
}

void FillEngineCombo(SearchBar& bar, int index) {
    const EngineSet& set = bar.app.activeSet;
    SendMessageW(bar.engine, CB_RESETCONTENT, 0, 0);
    for (int k = 0; k < set.count; ++k) {
        const auto name = FromSjisField<kNameSize>(set.entries[k].Name);
        SendMessageW(bar.engine, CB_INSERTSTRING, k, reinterpret_cast<LPARAM>(name.c_str()));
    }
    if (index < 0 || index >= set.count) index = 0;
    SelectEngine(bar, index);
}

const char* CurrentFileName(const AppState& app) {
    const int n = app.catalogue.current;
    if (n < 0 || n >= kMaxEngineFiles) return "";
    return app.catalogue.names[n];
}

int StoredEngineIndex(const AppState& app, const char* fileName) {
    return ReadProfileInt(app.paths.iniPath, "SEFIndex", fileName, 0);
}

void SwitchEngineFile(SearchBar& bar, int n) {
    AppState& app = bar.app;
    if (n == app.catalogue.current || n < 0 || n >= kMaxEngineFiles) return;
    if (LoadEngineFileByName(app.activeSet, app.paths.dataDir, app.catalogue.names[n]) < 1) {
        ShowMessage(bar.wnd, L"指定したデータファイルが不正です。", MB_OK | MB_ICONERROR);
        return;
    }
    if (!app.settings.NotSaveIS)
        WriteProfileInt(app.paths.iniPath, "SEFIndex", CurrentFileName(app), EngineSelection(bar));
    app.catalogue.current = n;
    FillEngineCombo(bar, StoredEngineIndex(app, CurrentFileName(app)));
}

void RestoreSearchBar(SearchBar& bar) {
    bar.stayHidden = false;
    if (bar.wnd) ShowWindow(bar.wnd, SW_RESTORE);
}

HWND RestoreFront(SearchBar& bar) {
    HWND front = bar.app.frontDialog;
    HWND target = front ? front : bar.wnd;
    if (!target) return nullptr;
    if (target == bar.wnd)
        RestoreSearchBar(bar);
    else
        ShowWindow(target, SW_RESTORE);
    return target;
}

void ActivateFront(SearchBar& bar) {
    if (HWND target = RestoreFront(bar)) SetForegroundWindow(target);
}

bool SetSummonHotKey(SearchBar& bar, uint16_t value, bool withSelection) {
    HotKeyRegistration& key = withSelection ? bar.selectKey : bar.summonKey;
    uint16_t& held = withSelection ? bar.selectValue : bar.summonValue;
    const int id = withSelection ? ID_HOTKEY_SELECT : ID_HOTKEY_SUMMON;
    if (value == held && (value == 0 || key.registered())) return true;
    const uint16_t old = held;
    key.reset();
    held = 0;
    if (value == 0 || !bar.wnd) return value == 0;
    if (key.Register(bar.wnd, id, HotKeyModifiers(value), HotKeyVirtualKey(value))) {
        held = value;
        return true;
    }
    // Taken: the key held before stays in force.
    if (old != 0 && key.Register(bar.wnd, id, HotKeyModifiers(old), HotKeyVirtualKey(old)))
        held = old;
    return false;
}

void UpdateHistoryCompletion(SearchBar& bar) {
    if (!bar.keyword) return;
    const Settings& s = bar.app.settings;
    // With suggestions on, their drop-down shows the history rows as well.
    bar.completion.Enable(bar.keyword, s.AutoComplete != 0 && s.Max != 0 && s.Suggest == 0,
                          HistorySource{&bar.app, OfferKeywords});
}
