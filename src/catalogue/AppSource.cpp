#include "catalogue/AppSource.h"

#include <shobjidl.h>

#include <cstdlib>
#include <new>

#include "text/Wtf8.h"
#include "window/ComApartment.h"
#include "window/SystemCall.h"

namespace {

// Spelled out here, so that no GUID library is linked into the program.
const GUID kAppsFolder = {0x1e87508d, 0x89c2, 0x42f0, {0x8a, 0x7e, 0x64, 0x5a, 0x0f, 0x50, 0xca, 0x58}};
const GUID kEnumItems = {0x94f60519, 0x2850, 0x4924, {0xaa, 0x5a, 0xd1, 0x5e, 0x84, 0x86, 0x80, 0x39}};
const IID kShellItem = {0x43826d1e, 0xe718, 0x42ee, {0xbc, 0x55, 0xa1, 0xe2, 0x61, 0xc3, 0x7b, 0xfe}};
const IID kEnumShellItems = {0x70629033, 0xe363, 0x4a28, {0xa5, 0x67, 0x0d, 0xb7, 0x80, 0x06, 0xe6, 0xd7}};

typedef void(WINAPI* FreeCall)(void*);
typedef HRESULT(WINAPI* KnownFolderItemCall)(REFGUID, DWORD, HANDLE, REFIID, void**);

// A name the shell gave, into WTF-8, and the shell's copy freed.
int TakeName(char (&out)[kPathBytes], wchar_t* name, FreeCall free) {
    int fits = name && ToWtf8(out, name);
    if (name) free(name);
    return fits;
}

}  // namespace

struct AppSource::Shell {
    ComApartment com;
    FreeCall free;
    KnownFolderItemCall knownFolderItem;
    IEnumShellItems* items;
};

AppSource::AppSource() : shell(nullptr) {}

AppSource::~AppSource() {
    if (!shell) return;
    End();
    shell->~Shell();
    free(shell);
}

int AppSource::StartShell() {
    if (!shell) {
        // Once, on the launcher's one thread, before the first build that
        // lists apps.
        void* memory = calloc(1, sizeof *shell);
        if (!memory) return 0;
        shell = new (memory) Shell();
        shell->free = FindSystemCall<FreeCall>(L"ole32.dll", "CoTaskMemFree");
        shell->knownFolderItem = FindSystemCall<KnownFolderItemCall>(L"shell32.dll", "SHGetKnownFolderItem");
        if (shell->free) shell->com.Join();
    }
    return shell->com.Joined();
}

int AppSource::Begin() {
    if (!StartShell()) return 0;
    End();
    if (!shell->knownFolderItem) return 0;
    IShellItem* folder = nullptr;
    if (FAILED(shell->knownFolderItem(kAppsFolder, 0, nullptr, kShellItem, reinterpret_cast<void**>(&folder)))) {
        return 0;
    }
    HRESULT bound = folder->BindToHandler(nullptr, kEnumItems, kEnumShellItems, reinterpret_cast<void**>(&shell->items));
    folder->Release();
    if (FAILED(bound)) shell->items = nullptr;
    return shell->items != nullptr;
}

int AppSource::Next(char (&name)[kPathBytes], char (&parsingName)[kPathBytes]) {
    if (!shell || !shell->items) return 0;
    // An item whose names cannot be read is passed over, not the end.
    for (;;) {
        IShellItem* item = nullptr;
        if (shell->items->Next(1, &item, nullptr) != S_OK || !item) return 0;
        wchar_t* shown = nullptr;
        wchar_t* parsing = nullptr;
        if (FAILED(item->GetDisplayName(SIGDN_NORMALDISPLAY, &shown))) shown = nullptr;
        if (FAILED(item->GetDisplayName(SIGDN_PARENTRELATIVEPARSING, &parsing))) parsing = nullptr;
        item->Release();
        int named = TakeName(name, shown, shell->free);
        if (TakeName(parsingName, parsing, shell->free) && named) return 1;
    }
}

void AppSource::End() {
    if (shell && shell->items) {
        shell->items->Release();
        shell->items = nullptr;
    }
}
