#include "catalogue/Catalogue.h"

#include <cstdlib>

Catalogue::Catalogue() : head(nullptr) {}

Catalogue::~Catalogue() {
    Clear();
}

void Catalogue::Clear() {
    // A loop, not recursion: the list may be long.
    while (head) {
        CatalogueEntry* entry = head;
        head = entry->next;
        free(entry->path);
        free(entry);
    }
}
