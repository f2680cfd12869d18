#include "ui/bar/history_complete.h"

#include <shlguid.h>

#include <new>

#include "base/text.h"

namespace {

class HistoryStrings final : public IEnumString {
  public:
    explicit HistoryStrings(HistorySource source) : source_(source) { Load(); }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumString)) {
            *out = static_cast<IEnumString*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --refs_;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IEnumString
    HRESULT STDMETHODCALLTYPE Next(ULONG count, LPOLESTR* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) return E_INVALIDARG;
        ULONG n = 0;
        while (n < count && next_ < count_) {
            const WideText<kHistoryTextSize>& item = items_[next_];
            const size_t bytes = (item.size() + 1) * sizeof(wchar_t);
            auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
            if (!copy) break;
            CopyMemory(copy, item.c_str(), bytes);
            out[n++] = copy;
            ++next_;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const size_t left = count_ - next_;
        if (count > left) {
            next_ = count_;
            return S_FALSE;
        }
        next_ += count;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        Load();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumString** out) override {
        if (!out) return E_POINTER;
        auto* copy = new (std::nothrow) HistoryStrings(source_);
        if (!copy) {
            *out = nullptr;
            return E_OUTOFMEMORY;
        }
        copy->next_ = next_ < copy->count_ ? next_ : copy->count_;
        *out = copy;
        return S_OK;
    }

  private:
    ~HistoryStrings() = default;

    void Load() {
        count_ = 0;
        next_ = 0;
        if (!source_.fill) return;
        OfferedKeywords keywords;
        source_.fill(source_.context, keywords);
        for (int i = 0; i < keywords.count && i < kHistoryLimit; ++i)
            items_[count_++] = keywords.text[i];
    }

    long refs_ = 1;
    HistorySource source_;
    WideText<kHistoryTextSize> items_[kHistoryLimit];
    size_t count_ = 0;
    size_t next_ = 0;
};

} // namespace

IEnumString* CreateHistoryStrings(HistorySource source) {
    return new (std::nothrow) HistoryStrings(source);
}

bool HistoryCompletion::Enable(HWND edit, bool on, const HistorySource& source) {
    if (!ac_) {
        if (!on) return true; // never made: nothing to turn off
        ComRef<IAutoComplete2> ac;
        if (FAILED(CoCreateInstance(CLSID_AutoComplete, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAutoComplete2, ac.put_void())))
            return false;
        ComRef<IEnumString> strings(CreateHistoryStrings(source));
        if (!strings || FAILED(ac->Init(edit, strings.get(), nullptr, nullptr))) return false;
        // The drop-down only: no inline completion, and the arrow keys do not open it, so
        // the page keys keep stepping through the engines while it is closed.
        ac->SetOptions(ACO_AUTOSUGGEST);
        ac->QueryInterface(IID_IAutoCompleteDropDown, dropDown_.put_void());
        ac_.reset(ac.release());
        edit_ = edit;
    }
    ac_->Enable(on ? TRUE : FALSE);
    enabled_ = on;
    if (!on) CloseDropDown();
    return true;
}

bool HistoryCompletion::DropDownOpen() const {
    if (!enabled_ || !dropDown_) return false;
    DWORD flags = 0;
    LPWSTR text = nullptr;
    if (FAILED(dropDown_->GetDropDownStatus(&flags, &text))) return false;
    if (text) CoTaskMemFree(text);
    return (flags & ACDD_VISIBLE) != 0;
}

void HistoryCompletion::CloseDropDown() {
    if (!ac_ || !edit_) return;
    // The autocomplete object closes its list when its edit is told to close a drop-down;
    // the list is then read afresh when it opens again.
    SendMessageW(edit_, CB_SHOWDROPDOWN, FALSE, 0);
    if (dropDown_) dropDown_->ResetEnumerator();
}

void HistoryCompletion::Release() {
    if (ac_) ac_->Enable(FALSE);
    dropDown_.reset();
    ac_.reset();
    edit_ = nullptr;
    enabled_ = false;
}
