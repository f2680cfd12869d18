// The catalogue of engine files in the program directory: sorted names, current index.
#pragma once
#include <cstddef>

#include <string_view>

constexpr int kMaxEngineFiles = 32;
constexpr size_t kCatalogueNameSize = 257;

struct EngineFileCatalogue {
    char names[kMaxEngineFiles][kCatalogueNameSize] = {};
    int count = 0;   // 0..32; -1 when no file matched the search pattern
    int current = 0; // slot of the file whose entries are in the active set
};

// Locale-aware, case-sensitive comparison (lstrcmpA on Windows).
using NameCompare = int (*)(const char* a, const char* b);

// Number of used slots: up to the first empty slot, at most 32.
int CatalogueSize(const EngineFileCatalogue& cat);

// Bubble sort of the first count names, ascending by cmp; the empty name sorts first.
void SortCatalogue(EngineFileCatalogue& cat, int count, NameCompare cmp);

// Slot of the last name equal to `name` (cmp gives 0), or -1.
int FindCatalogueName(const EngineFileCatalogue& cat, const char* name, NameCompare cmp);

// Adds a name and sorts; returns its slot, or -1 when the catalogue is full.
int AddCatalogueName(EngineFileCatalogue& cat, const char* name, NameCompare cmp);

// Removes the name in a slot and closes the gap; refused (false) for the only name or an
// unused slot.
bool RemoveCatalogueName(EngineFileCatalogue& cat, int slot, NameCompare cmp);

// Menu text of an engine file: its name without the last four characters (".sef").
std::string_view EngineFileLabel(const char* fileName);
