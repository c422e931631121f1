#include "catalogue/CatalogueBuild.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "catalogue/AppSource.h"
#include "catalogue/FolderToken.h"
#include "catalogue/RecentDocuments.h"
#include "catalogue/SettingsPages.h"
#include "catalogue/SystemNames.h"
#include "catalogue/SkipPatterns.h"
#include "settings/Options.h"
#include "settings/ProfileText.h"
#include "settings/SectionBuffer.h"
#include "settings/SettingsFile.h"
#include "text/Hash.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

namespace {

struct SpecialFolder {
    int id;
    int depth;      // negative: all levels
    int startMenu;  // with names=1, internet shortcuts are named too
};

// Scanned in this order, so a file of the system folder wins a name lookup
// over one of the Start Menu (the entry added last comes first).
const SpecialFolder kSpecialFolders[] = {
    {CSIDL_COMMON_STARTMENU, -1, 1},
    {CSIDL_STARTMENU, -1, 1},
    {CSIDL_PERSONAL, 2, 0},
    {CSIDL_SYSTEM, 1, 0},
};

const char* const kDefaultExtensions[] = {".exe", ".doc", ".xls"};

// Programs that open the default document types, looked up by whole name.
struct BuiltInAssociation {
    const char* program;
    const char* extension;
};
const BuiltInAssociation kBuiltInAssociations[] = {
    {"winword.exe", ".doc"},
    {"excel.exe", ".xls"},
};
// Longer than either name, so only a whole name matches (the terminator
// takes part in the comparison).
const int kWholeNameLength = 11;

// The value of an [extensions] key: the start of a program's file name.
const int kValueSize = 4096;

const char* const kBuildSections[] = {"extensions", "skip", "folders", "aliases", "sources"};

ExtensionNode* Prepend(const char* extension, ExtensionNode* chain) {
    ExtensionNode* node = new ExtensionNode(extension, chain);
    return node ? node : chain;
}

}  // namespace

CatalogueBuild::CatalogueBuild(Catalogue& target, const Options& settingsOptions)
    : apps(nullptr),
      fold(nullptr),
      scanned(nullptr),
      scriptSources(nullptr),
      digest(kHashStart),
      catalogue(target),
      options(settingsOptions) {}

CatalogueBuild::~CatalogueBuild() {}

int CatalogueBuild::ResolveFolderToken(char (&output)[kPathBytes], const char* token) {
    unsigned int id;
    if (!ParseFolderToken(token, &id)) return 0;
    output[0] = '\0';
    wchar_t folder[MAX_PATH];
    if (SUCCEEDED(SHGetFolderPathW(nullptr, static_cast<int>(id), nullptr, SHGFP_TYPE_CURRENT, folder))) {
        ToWtf8(output, folder);
    }
    return 1;
}

void CatalogueBuild::ScanFolder(const char* folder, ExtensionNode* extensions, int depth) {
    catalogue.Scan(folder, extensions, depth);
    if (scanned) scanned->Scanned(folder, depth);
}

unsigned long long CatalogueBuild::Digest(SettingsFile& settings) {
    SectionBuffer section;
    unsigned long long digest = kHashStart;
    for (const char* name : kBuildSections) digest = DigestSection(section.Read(settings, name), digest);
    return digest;
}

char* CatalogueBuild::ReadSection(SectionBuffer& section, SettingsFile& settings, const char* name) {
    // Folded before its lines are split in place, in the order of
    // kBuildSections, so that the digest is the one Digest gives.
    char* text = section.Read(settings, name);
    digest = DigestSection(text, digest);
    return text;
}

void CatalogueBuild::Run(SettingsFile& settings) {
    catalogue.Clear();

    ExtensionNode* extensions = nullptr;
    for (const char* extension : kDefaultExtensions) extensions = Prepend(extension, extensions);
    SectionBuffer section;
    digest = kHashStart;
    char* cursor = ReadSection(section, settings, "extensions");
    char* key;
    char* value;
    while (SettingsFile::NextEntry(&cursor, &key, &value)) extensions = Prepend(key, extensions);

    SkipPatterns skipPatterns;
    skipPatterns.Take(ReadSection(section, settings, "skip"));
    catalogue.skip = &skipPatterns;
    catalogue.fold = options.accents ? fold : nullptr;
    catalogue.words = options.words;
    // The pages of Windows Settings and the system's commands first (words
    // and folding set, as for every name), so that a file or name of the
    // user's that reads the same is met before them.
    if (options.settingsPages) AddSettingsPages(catalogue);
    if (options.system) AddSystemNames(catalogue);
    // The documents opened lately, after them and before every folder, so
    // that a program that reads the same is met first; their folder is
    // watched as any scanned one.
    char folder[kPathBytes];
    if (options.recent && ResolveFolderToken(folder, "$0x0008") && folder[0]) {
        AddRecentDocuments(catalogue, folder);
        if (scanned) scanned->Scanned(folder, 1);
    }
    int names = options.names ? Catalogue::kShortcutNames : 0;
    // COM before the first folder, so that a desktop.ini naming a packaged
    // app's string reads the same on the first build as on later ones.
    if (names && apps && apps->StartShell()) names |= Catalogue::kPackageStrings;

    // A special folder that the shell cannot supply, or a token naming none,
    // contributes nothing: scanning the empty path would walk the whole
    // current drive.
    for (const SpecialFolder& special : kSpecialFolders) {
        char token[16];
        FormatText(token, sizeof token, "$0x%04X", static_cast<unsigned int>(special.id));
        ResolveFolderToken(folder, token);
        catalogue.names = names && special.startMenu ? names | Catalogue::kUrlNames : names;
        if (folder[0]) ScanFolder(folder, extensions, special.depth);
        // Packaged apps right after the Start Menu trees, whose names they
        // may repeat.
        if (options.names && apps && special.id == CSIDL_STARTMENU) catalogue.AddApps(*apps);
    }
    catalogue.names = names;

    cursor = ReadSection(section, settings, "folders");
    int depth;
    while (settings.NextIntEntry(&cursor, &key, &depth)) {
        if (depth == 0) depth = -1;  // 0, empty or no number: all levels
        if (!ResolveFolderToken(folder, key)) {
            ScanFolder(key, extensions, depth);
        } else if (folder[0]) {
            ScanFolder(folder, extensions, depth);
        }
    }

    catalogue.skip = nullptr;
    // Names of the user's, after every folder so that they win a lookup.
    catalogue.AddAliases(ReadSection(section, settings, "aliases"));
    // Read last, as Digest reads it; a build that has nowhere to put them
    // reads them all the same, so that the digests agree.
    char* sources = ReadSection(section, settings, "sources");
    if (scriptSources) scriptSources->Take(sources);

    for (const BuiltInAssociation& builtIn : kBuiltInAssociations) {
        CatalogueEntry* program = catalogue.FindPrefix(builtIn.program, kWholeNameLength, nullptr);
        if (program) {
            catalogue.Associate(builtIn.extension, static_cast<int>(strlen(builtIn.extension)),
                                program);
        }
    }

    // Configured programs, found by the start of their file name; the chain
    // is destroyed on the way.
    char programName[kValueSize];
    while (extensions) {
        ExtensionNode* node = extensions;
        extensions = node->next;
        int n = settings.GetString(programName, sizeof programName, "extensions", node->ext, "");
        CatalogueEntry* program = n > 0 ? catalogue.FindPrefix(programName, n, nullptr) : nullptr;
        if (program) catalogue.Associate(node->ext, static_cast<int>(strlen(node->ext)), program);
        delete node;
    }
}

