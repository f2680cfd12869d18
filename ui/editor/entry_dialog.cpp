#include "ui/editor/entry_dialog.h"

#include "base/text.h"
#include "engines/companion.h"
#include "platform/win_text.h"
#include "query/encode.h"
#include "query/engine_keyword.h"
#include "ui/common/front_dialog.h"
#include "ui/common/resource.h"
#include "ui/common/window_helpers.h"
#include "ui/editor/editor_logic.h"

namespace {

constexpr DWORD kEntryHelpContext = 22;

// The dialog's working copy of the entry, and the keywords of the file's other entries.
struct EntryDialogState {
    EngineEntry entry;
    EngineExtras extras;
    const EntryNeighbours& neighbours;
    AppState& app;
    ScopedFrontDialog front;
};

// The fields' texts as typed. Each buffer is larger than its field's limit, so that a text
// over the limit (set into the control from elsewhere, or counted in characters by the
// edit control) is seen as too long rather than cut.
struct FieldTexts {
    char name[64];
    char head1[300];
    char tail1[300];
    char key1[64];
    char head2[300];
    char tail2[300];
    char key2[64];
    char keyword[64];
    char suggest[kSuggestUrlSize + 64];
};

// The item's text in Shift-JIS, as the engine file keeps it; false when Shift-JIS cannot say
// some character of it.
template <size_t N> bool ReadItem(HWND dlg, int id, char (&buffer)[N]) {
    return ItemSjis(dlg, id, buffer, N);
}

template <size_t N> void FillItem(HWND dlg, int id, const char (&field)[N]) {
    SetItemSjis(dlg, id, std::string_view(field, FieldLength(field, N)));
}

const struct {
    int id;
    UINT limit;
} kLimits[] = {
    {IDC_ENTRY_NAME, kNameSize - 1},
    {IDC_URL1_HEAD, kHeadSize - 1},
    {IDC_URL1_TAIL, kTailSize - 1},
    {IDC_URL2_HEAD, kHeadSize - 1},
    {IDC_URL2_TAIL, kTailSize - 1},
    {IDC_URL1_KEY, kKeySize - 1},
    {IDC_URL2_KEY, kKeySize - 1},
    {IDC_ENTRY_KEYWORD, kEngineKeywordSize - 1},
    {IDC_ENTRY_SUGGEST, kSuggestUrlSize - 1},
};

BOOL Init(HWND dlg, EntryDialogState* s) {
    if (HWND front = s->app.frontDialog) {
        if (IsIconic(front)) ShowWindow(front, SW_RESTORE);
        SetForegroundWindow(front);
    }
    s->front.Set(dlg);
    for (const auto& l : kLimits)
        SendDlgItemMessageW(dlg, l.id, EM_LIMITTEXT, l.limit, 0);
    const EngineEntry& e = s->entry;
    FillItem(dlg, IDC_ENTRY_NAME, e.Name);
    FillItem(dlg, IDC_URL1_HEAD, e.head[0]);
    FillItem(dlg, IDC_URL1_TAIL, e.tail[0]);
    FillItem(dlg, IDC_URL1_KEY, e.key[0]);
    FillItem(dlg, IDC_URL2_HEAD, e.head[1]);
    FillItem(dlg, IDC_URL2_TAIL, e.tail[1]);
    FillItem(dlg, IDC_URL2_KEY, e.key[1]);
    FillItem(dlg, IDC_ENTRY_KEYWORD, s->extras.Keyword);
    FillItem(dlg, IDC_ENTRY_SUGGEST, s->extras.Suggest);
    HWND list = GetDlgItem(dlg, IDC_ENTRY_CHARACTER);
    for (int i = 0; i < kCharacterItems; ++i)
        SendMessageW(list, CB_INSERTSTRING, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(FromSjis<32>(kCharacterItemTexts[i]).c_str()));
    // A code outside 0..3 selects nothing (-1 clears the selection).
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(CharacterItemOf(e.Character)), 0);
    SetFocus(GetDlgItem(dlg, IDC_ENTRY_NAME));
    return FALSE; // the focus has been set
}

void End(HWND dlg, bool confirmed) {
    EndDialog(dlg, confirmed ? IDOK : IDCANCEL);
}

// The keyword as typed: none, or one without spaces within 15 bytes. Taken by the ninth entry
// of a keyword, it is kept after a warning that only the first eight are searched.
bool AcceptKeyword(HWND dlg, const EntryDialogState& s, const char* keyword) {
    if (keyword[0] == '\0') return true;
    if (!IsEngineKeyword(keyword)) {
        ShowMessage(
            dlg, L"キーワードは空白を含まない半角 15 文字 (全角 7 文字) までで入力してください。",
            MB_OK | MB_ICONWARNING);
        SetFocus(GetDlgItem(dlg, IDC_ENTRY_KEYWORD));
        return false;
    }
    const EntryNeighbours& n = s.neighbours;
    if (CountKeywordUsers(n.extras, n.count, keyword, n.self, PlatformCp932ToUtf16) >=
        kMaxKeywordEngines) {
        MessageText text(L"キーワード「");
        AppendSjis(text, keyword);
        text.Append(L"」を持つ検索エンジンが 8 つを超えます。\nこのキーワードで検索するのは、"
                    L"一覧の先頭から 8 つの検索エンジンだけです。");
        ShowMessage(dlg, text.c_str(), MB_OK | MB_ICONWARNING);
    }
    return true;
}

// The suggestion URL as typed: none, or one that IsSuggestUrl takes.
bool AcceptSuggest(HWND dlg, const char* suggest) {
    if (suggest[0] == '\0' || IsSuggestUrl(suggest)) return true;
    ShowMessage(dlg,
                std::string_view(suggest).size() >= kSuggestUrlSize
                    ? L"長すぎる項目があります。"
                    : L"候補URLは https:// で始まり {searchTerms} を含む URL を入力してください。",
                MB_OK | MB_ICONWARNING);
    SetFocus(GetDlgItem(dlg, IDC_ENTRY_SUGGEST));
    return false;
}

void Confirm(HWND dlg, EntryDialogState& s) {
    FieldTexts t;
    const struct {
        int id;
        bool said;
    } items[] = {
        {IDC_ENTRY_NAME, ReadItem(dlg, IDC_ENTRY_NAME, t.name)},
        {IDC_URL1_HEAD, ReadItem(dlg, IDC_URL1_HEAD, t.head1)},
        {IDC_URL1_TAIL, ReadItem(dlg, IDC_URL1_TAIL, t.tail1)},
        {IDC_URL1_KEY, ReadItem(dlg, IDC_URL1_KEY, t.key1)},
        {IDC_URL2_HEAD, ReadItem(dlg, IDC_URL2_HEAD, t.head2)},
        {IDC_URL2_TAIL, ReadItem(dlg, IDC_URL2_TAIL, t.tail2)},
        {IDC_URL2_KEY, ReadItem(dlg, IDC_URL2_KEY, t.key2)},
        {IDC_ENTRY_KEYWORD, ReadItem(dlg, IDC_ENTRY_KEYWORD, t.keyword)},
        {IDC_ENTRY_SUGGEST, ReadItem(dlg, IDC_ENTRY_SUGGEST, t.suggest)},
    };
    // The engine file keeps Shift-JIS: a character it cannot say is refused, not changed.
    for (const auto& item : items) {
        if (item.said) continue;
        ShowMessage(dlg, L"Shift-JIS で表せない文字は入力できません。", MB_OK | MB_ICONWARNING);
        SetFocus(GetDlgItem(dlg, item.id));
        return;
    }
    const int item =
        static_cast<int>(SendDlgItemMessageW(dlg, IDC_ENTRY_CHARACTER, CB_GETCURSEL, 0, 0));
    const EntryFields fields = {t.name,  t.head1, t.tail1, t.key1,
                                t.head2, t.tail2, t.key2,  item < 0 ? -1 : item};
    const wchar_t* message = nullptr;
    int focus = 0;
    switch (CheckEntryFields(fields)) {
    case EntryCheck::NameEmpty:
        message = L"検索エンジン名を入力してください。";
        focus = IDC_ENTRY_NAME;
        break;
    case EntryCheck::HeadEmpty:
        message = L"必須項目は入力してください。";
        focus = IDC_URL1_HEAD;
        break;
    case EntryCheck::TooLong:
        message = L"長すぎる項目があります。";
        break;
    case EntryCheck::Ok:
        if (!AcceptSuggest(dlg, t.suggest) || !AcceptKeyword(dlg, s, t.keyword)) return;
        s.entry = BuildEntryFromFields(fields, s.entry.UrlMode);
        CopyBounded(s.extras.Keyword, kEngineKeywordSize, t.keyword);
        CopyBounded(s.extras.Suggest, kSuggestUrlSize, t.suggest);
        End(dlg, true);
        return;
    }
    ShowMessage(dlg, message, MB_OK | MB_ICONWARNING);
    if (focus) SetFocus(GetDlgItem(dlg, focus));
}

INT_PTR CALLBACK EntryProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* s = BoundState<EntryDialogState>(dlg, msg, lParam);
    if (!s) return FALSE;
    if (msg == WM_INITDIALOG) return Init(dlg, s);
    switch (msg) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            Confirm(dlg, *s);
            return TRUE;
        case IDCANCEL:
            End(dlg, false);
            return TRUE;
        case IDHELP:
            ShowHelp(dlg, s->app.paths.helpPath, HELP_CONTEXT, kEntryHelpContext);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_CLOSE:
        End(dlg, false);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

bool EditEngineEntry(HWND editor, AppState& app, EngineEntry& entry, EngineExtras& extras,
                     const EntryNeighbours& neighbours) {
    EntryDialogState state = {entry, extras, neighbours, app, ScopedFrontDialog(app.frontDialog)};
    const INT_PTR result = DialogBoxParamW(app.instance, MAKEINTRESOURCEW(IDD_ENTRY), editor,
                                           EntryProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return false;
    entry = state.entry;
    extras = state.extras;
    return true;
}
