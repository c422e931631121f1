#pragma once

#include "catalogue/Catalogue.h"

class AppSource;
class SectionBuffer;
class SettingsFile;
class TextFold;
struct Options;

// Told of every folder a build scans, with its depth (FolderWatch, which
// then watches it).
class FolderSink {
public:
    virtual ~FolderSink() {}
    virtual void Scanned(const char* folder, int depth) = 0;
};

// Given the [sources] section that a build reads (ScriptSources), its lines
// as a section buffer holds them.
class SectionSink {
public:
    virtual ~SectionSink() {}
    virtual void Take(const char* section) = 0;
};

// One build of the catalogue: empties it and fills it from the special
// folders (the two Start Menus, the documents, the system folder), the
// [folders] of the settings with their "$0x..." tokens, the shortcuts'
// names and packaged apps of names=1, and the [aliases] (and hands on the
// [sources], which name commands rather than files); leaves out what
// [skip] names; associates documents with their programs. It knows no
// window: what it needs is handed to it.
class CatalogueBuild {
public:
    CatalogueBuild(Catalogue& catalogue, const Options& options);
    virtual ~CatalogueBuild();

    void Run(SettingsFile& settings);

    // A digest of the sections that a build reads ([extensions], [skip],
    // [folders], [aliases] and [sources]): another digest, another
    // catalogue.
    static unsigned long long Digest(SettingsFile& settings);

    // Writes the path of the special folder that a "$0x..." token names (the
    // empty string when the shell has none); 0 when the text is no token,
    // the output then untouched.
    static int ResolveFolderToken(char (&output)[kPathBytes], const char* token);

    // The packaged apps of names=1, the fold of accents=1, who is told of
    // the folders scanned, and who takes the [sources]; null for none.
    AppSource* apps;
    const TextFold* fold;
    FolderSink* scanned;
    SectionSink* scriptSources;
    // After Run: the Digest of the sections it read.
    unsigned long long digest;

private:
    void ScanFolder(const char* folder, ExtensionNode* extensions, int depth);
    char* ReadSection(SectionBuffer& section, SettingsFile& settings, const char* name);

    Catalogue& catalogue;
    const Options& options;
};
