// Prints what a catalogue scan of a generated tree of 20000 files costs
// against a bare FindFirstFileA/FindNextFileA walk of the same tree.
// Run under Wine or Windows: scan_bench [folder]; the tree is made once.

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "catalogue/Catalogue.h"
#include "PerformanceClock.h"

namespace {

const int kFolders = 100;
const int kFilesPerFolder = 200;

void MakeTree(const char* root) {
    char path[MAX_PATH];
    CreateDirectoryA(root, nullptr);
    for (int d = 0; d < kFolders; ++d) {
        snprintf(path, sizeof path, "%s\\folder %03d", root, d);
        CreateDirectoryA(path, nullptr);
        for (int f = 0; f < kFilesPerFolder; ++f) {
            // Half programs, half other files.
            snprintf(path, sizeof path, "%s\\folder %03d\\file %05d.%s", root, d, f,
                     f % 2 ? "exe" : "txt");
            HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        }
    }
}

int BareWalk(const char* folder) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s\\*.*", folder);
    WIN32_FIND_DATAA item;
    HANDLE find = FindFirstFileA(path, &item);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int files = 0;
    do {
        if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (strcmp(item.cFileName, ".") && strcmp(item.cFileName, "..")) {
                snprintf(path, sizeof path, "%s\\%s", folder, item.cFileName);
                files += BareWalk(path);
            }
        } else {
            ++files;
        }
    } while (FindNextFileA(find, &item));
    FindClose(find);
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    char root[MAX_PATH];
    if (argc > 1) {
        snprintf(root, sizeof root, "%s", argv[1]);
    } else {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        snprintf(root, sizeof root, "%skwivo-scan-bench", temp);
    }
    MakeTree(root);

    ExtensionNode exe(".exe", nullptr);
    ExtensionNode doc(".doc", &exe);
    ExtensionNode xls(".xls", &doc);
    double bestWalk = 1e9, bestScan = 1e9;
    int files = 0, catalogued = 0;
    for (int round = 0; round < 5; ++round) {
        double t = Now();
        files = BareWalk(root);
        double walk = Now() - t;
        Catalogue catalogue;
        t = Now();
        catalogue.Scan(root, &xls, -1);
        double scan = Now() - t;
        catalogued = catalogue.Count();
        if (walk < bestWalk) bestWalk = walk;
        if (scan < bestScan) bestScan = scan;
    }
    printf("Tree %s: %d files, %d catalogued\n", root, files, catalogued);
    printf("Bare walk: %.1f ms; catalogue scan: %.1f ms; ratio %.2f (best of 5)\n", bestWalk * 1e3,
           bestScan * 1e3, bestScan / bestWalk);
    return 0;
}
