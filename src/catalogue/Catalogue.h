#pragma once

// One catalogued file. Plain record, created by the catalogue only.
struct CatalogueEntry {
    CatalogueEntry* next;
    char* path;               // owned heap copy of the full path
    char* name;               // after the last backslash of path; null without one
    CatalogueEntry* program;  // the entry of the program that opens this file
};

// The in-memory list of launchable files; the entry added last comes first.
class Catalogue {
public:
    Catalogue();
    virtual ~Catalogue();

    void Clear();

    CatalogueEntry* head;
};
