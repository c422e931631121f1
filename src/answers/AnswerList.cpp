#include "answers/AnswerList.h"

#include <windows.h>

#include <cstring>

#include "catalogue/Catalogue.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

namespace {

// The index-th entry (other than "." and "..") that the search returns; -1
// asks for the last. Stops as soon as it is found. 1 with the entry and its
// index; 0 when the search has fewer entries or none.
int FindFolderMatch(const wchar_t* pattern, int wanted, WIN32_FIND_DATAW* item, int* found) {
    WIN32_FIND_DATAW next;
    HANDLE find = FindFirstFileW(pattern, &next);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int seen = 0;
    do {
        if (IsDotName(next.cFileName)) continue;
        *item = next;
        *found = seen;
        if (seen++ == wanted) break;
    } while (FindNextFileW(find, &next));
    FindClose(find);
    return wanted < 0 ? seen > 0 : seen > wanted;
}

// The same from the names of the typed folder, listed once while the user
// types inside it; from the file system when the listing cannot answer.
// name holds the name of a match the file system gave.
int SearchFolder(FolderListing& listing, const char* text, int folderLength, int wanted, FolderMatch* match,
                 char (&name)[kPathBytes]) {
    const char* typedName = text + folderLength;
    if (FolderListing::CanAnswer(typedName) && listing.Hold(text, folderLength)) {
        return listing.Find(typedName, wanted, match);
    }
    char pattern[kPathBytes];
    wchar_t widePattern[kPathSize];
    WIN32_FIND_DATAW item;
    if (FormatText(pattern, sizeof pattern, "%s*.*", text) < 0 || !ToUtf16(widePattern, pattern) ||
        !FindFolderMatch(widePattern, wanted, &item, &match->index)) {
        return 0;
    }
    ToWtf8(name, item.cFileName);
    match->name = name;
    match->isFolder = (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return 1;
}

}  // namespace

AnswerList::AnswerList()
    : source(kNone), text(nullptr), length(0), listing(nullptr), lines(nullptr), current(0), count(-1), one() {
    found[0] = '\0';
}

AnswerList::~AnswerList() {}

void AnswerList::Clear() {
    source = kNone;
    names.Clear();
    current = 0;
    count = -1;
}

void AnswerList::ForNames(Catalogue* from, const char* typed, int typedLength, CatalogueEntry* leading,
                          CatalogueEntry* onDisplay) {
    Clear();
    source = kNames;
    names.Start(*from, typed, typedLength, leading, onDisplay);
}

void AnswerList::ForFolder(FolderListing* folder, const char* path, int folderLength) {
    Clear();
    source = kFolder;
    listing = folder;
    text = path;
    length = folderLength;
}

void AnswerList::ForOne(const Answer& only) {
    Clear();
    source = kOne;
    one = only;
    count = 1;
}

void AnswerList::ForWindows(const char* words) {
    Clear();
    source = kWindows;
    count = windows.List(words);
}

void AnswerList::ForSource(const SourceOutput* output) {
    Clear();
    source = kSource;
    lines = output;
    current = -1;
}

int AnswerList::TargetOf(const Answer& answer, char (&target)[kPathBytes]) const {
    target[0] = '\0';
    return source == kSource && answer.kind == Answer::kSourceLine &&
           lines->Field(answer.index, SourceOutput::kTarget, target);
}

HWND AnswerList::WindowOf(const Answer& answer) {
    return source == kWindows && answer.kind == Answer::kWindow ? windows.At(answer.index, found) : nullptr;
}

int AnswerList::Count() {
    if (source == kSource) return lines->Count();  // grows while the source prints
    if (count >= 0) return count;
    Answer last;
    switch (source) {
    case kNames:
        count = names.Count();
        break;
    case kFolder:
        // Counted from the folder's listing only: a search of the whole
        // folder (one on a network) for a number is not worth its wait.
        count = FolderListing::CanAnswer(text + length) && listing->Hold(text, length) && At(-1, &last)
                    ? last.index + 1
                    : 0;
        break;
    default:
        count = 0;
    }
    return count;
}

int AnswerList::Place() {
    if (source == kNames) return names.Place();
    return source == kNone ? 0 : current + 1;
}

int AnswerList::At(int index, Answer* out) {
    *out = Answer();
    if (source == kOne) {
        if (index != 0 && index != -1) return 0;
        *out = one;
        return 1;
    }
    if (source == kWindows) {
        if (index < 0) index = count - 1;
        if (!windows.At(index, found)) return 0;
        out->kind = Answer::kWindow;
        out->name = found;
        out->index = index;
        return 1;
    }
    if (source == kSource) {
        if (index < 0) index = lines->Count() - 1;
        if (!lines->Field(index, SourceOutput::kTitle, found)) return 0;
        out->kind = Answer::kSourceLine;
        out->name = found;
        out->index = index;
        return 1;
    }
    if (source == kFolder) {
        FolderMatch match;
        if (!SearchFolder(*listing, text, length, index, &match, found)) return 0;
        out->kind = Answer::kFolderEntry;
        out->name = match.name;
        out->index = match.index;
        out->isFolder = match.isFolder;
        return 1;
    }
    if (source != kNames) return 0;
    if (index < 0) index = names.Count() - 1;
    out->entry = names.At(index, &out->kind);
    return out->entry != nullptr;
}

int AnswerList::Step(int forward, Answer* out) {
    if (source == kNames) {
        *out = Answer();
        out->entry = names.Step(forward, &out->kind);
        return out->entry != nullptr;
    }
    if (!Indexed()) return At(current, out);
    // Past the last, the first; before the first, the last.
    if (!(forward ? At(current + 1, out) || At(0, out) : current > 0 ? At(current - 1, out) : At(-1, out))) return 0;
    current = out->index;
    return 1;
}

int AnswerList::Go(int index, Answer* out) {
    if (source == kNames) {
        return names.Go(index) && At(index, out);
    }
    if (!At(index, out)) return 0;
    if (Indexed()) current = out->index;
    return 1;
}

void AnswerList::Describe(const Answer& answer, char (&name)[kPathBytes], char (&leads)[kPathBytes]) const {
    name[0] = '\0';
    leads[0] = '\0';
    if (answer.kind == Answer::kFolderEntry) {
        FormatText(name, sizeof name, "%s", answer.name ? answer.name : "");
        FormatText(leads, sizeof leads, "%.*s", length, text);
        return;
    }
    if (answer.kind == Answer::kSourceLine) {
        // Where the line says it leads, else its target.
        FormatText(name, sizeof name, "%s", answer.name ? answer.name : "");
        if (!lines->Field(answer.index, SourceOutput::kLeads, leads)) TargetOf(answer, leads);
        return;
    }
    if (!answer.entry || answer.kind == Answer::kAliasTarget) {
        // A value, a target with words, a window's title: what the strip
        // shows is all.
        FormatText(name, sizeof name, "%s", answer.name ? answer.name : "");
        return;
    }
    const char* path = answer.entry->path;
    FormatText(name, sizeof name, "%s", answer.entry->Name() ? answer.entry->Name() : path);
    if (answer.entry->kind == CatalogueEntry::kAlias) {
        FormatText(leads, sizeof leads, "%s", path);
        return;
    }
    const char* backslash = strrchr(path, '\\');
    if (backslash) FormatText(leads, sizeof leads, "%.*s", static_cast<int>(backslash - path), path);
}

int AnswerList::PathOf(const Answer& answer, char (&path)[kPathBytes]) const {
    if (answer.kind == Answer::kFolderEntry) {
        return answer.name && FormatText(path, sizeof path, "%.*s%s", length, text, answer.name) >= 0;
    }
    if (answer.kind == Answer::kSourceLine) return TargetOf(answer, path);
    if (!answer.entry || answer.kind == Answer::kAliasTarget) return 0;
    return FormatText(path, sizeof path, "%s", answer.entry->path) >= 0;
}
