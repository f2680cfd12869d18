// The history as the user types: the system's autocomplete object on the keyword box, fed by
// an enumerator of our own over the past keywords. The drop-down only: the object never
// completes the text inline, so nothing typed changes unless the user picks an item.
#pragma once
#include <windows.h>

#include <objidl.h>
#include <shldisp.h>
#include <shobjidl.h>

#include "history/history_list.h"
#include "platform/handles.h"

// The keywords to offer, newest first.
struct OfferedKeywords {
    int count = 0;
    WideText<kHistoryTextSize> text[kHistoryLimit];
};
// Fills the keywords to offer; asked again at every restart of the enumeration, so a search
// made meanwhile is offered too. The context is handed to fill as it is.
struct HistorySource {
    const void* context = nullptr;
    void (*fill)(const void* context, OfferedKeywords& out) = nullptr;
};

// An IEnumString over the keywords of a source, as UTF-16 strings. The reference returned
// belongs to the caller.
IEnumString* CreateHistoryStrings(HistorySource source);

class HistoryCompletion {
  public:
    HistoryCompletion() = default;
    HistoryCompletion(const HistoryCompletion&) = delete;
    HistoryCompletion& operator=(const HistoryCompletion&) = delete;
    ~HistoryCompletion() { Release(); }

    // Turns the drop-down on or off for the edit. The object is made and attached the first
    // time it is turned on; later it is only enabled and disabled. False when the system
    // has no autocomplete object.
    bool Enable(HWND edit, bool on, const HistorySource& source);
    // Whether the drop-down list is shown now.
    bool DropDownOpen() const;
    // Closes the drop-down and has the list read again when it next opens.
    void CloseDropDown();
    // Lets go of the object; for when the edit has been destroyed (the object lives with its
    // edit's subclass until then). The thread's COM apartment, entered at the program's start,
    // outlives it.
    void Release();

  private:
    HWND edit_ = nullptr;
    bool enabled_ = false;
    ComRef<IAutoComplete2> ac_;
    ComRef<IAutoCompleteDropDown> dropDown_;
};
