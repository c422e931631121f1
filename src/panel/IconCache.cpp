#include "panel/IconCache.h"

#include <shellapi.h>

#include <cstring>

#include "text/Hash.h"
#include "text/PathText.h"
#include "text/Wtf8.h"

IconCache::IconCache() : clock(0), generic(nullptr) {
    memset(slots, 0, sizeof slots);
}

IconCache::~IconCache() {
    Clear();
}

void IconCache::Clear() {
    for (Slot& slot : slots) {
        if (slot.icon) DestroyIcon(slot.icon);
        slot = Slot();
    }
}

HICON IconCache::Generic() {
    if (!generic) generic = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
    return generic;
}

int IconCache::IsLocal(const wchar_t* path) {
    // A drive letter's root only: a UNC path, a device path or an address
    // is none.
    if (!(((path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z') && path[1] == L':' && path[2] == L'\\')) {
        return 0;
    }
    wchar_t root[4] = {path[0], L':', L'\\', 0};
    UINT type = GetDriveTypeW(root);
    return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

HICON IconCache::Load(const wchar_t* path) {
    // The shell's objects behind the call want the thread in COM.
    if (!com.Join()) return nullptr;
    SHFILEINFOW info;
    memset(&info, 0, sizeof info);
    if (!SHGetFileInfoW(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) return nullptr;
    return info.hIcon;
}

HICON IconCache::For(const char* path) {
    if (!path || !path[0]) return Generic();
    unsigned long long key = HashBytes(kHashStart, path, strlen(path)) | 1;
    ++clock;
    Slot* oldest = &slots[0];
    for (Slot& slot : slots) {
        if (slot.key == key) {
            slot.used = clock;
            return slot.icon ? slot.icon : Generic();
        }
        if (slot.used < oldest->used) oldest = &slot;
    }
    wchar_t wide[kPathSize];
    HICON icon = ToUtf16(wide, path) && IsLocal(wide) ? Load(wide) : nullptr;
    if (oldest->icon) DestroyIcon(oldest->icon);
    oldest->key = key;
    oldest->icon = icon;
    oldest->used = clock;
    return icon ? icon : Generic();
}
