#include "settings/SettingsWatch.h"

SettingsWatch::SettingsWatch(const char* fileName)
    : path(fileName), taken(), seen(), held(INVALID_HANDLE_VALUE), heldStamp(), change(INVALID_HANDLE_VALUE) {}

SettingsWatch::~SettingsWatch() {
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    Stop();
}

int SettingsWatch::Notify() {
    if (change != INVALID_HANDLE_VALUE) return 1;
    wchar_t folder[kPathSize];
    wchar_t* name = nullptr;
    DWORD n = path.ok ? GetFullPathNameW(path.text, kPathSize, folder, &name) : 0;
    if (n == 0 || n >= static_cast<DWORD>(kPathSize) || !name) return 0;
    *name = 0;  // the folder, with its last backslash
    // Saving in place writes (last write, size); saving by renaming names.
    change = FindFirstChangeNotificationW(
        folder, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE);
    return change != INVALID_HANDLE_VALUE;
}

void SettingsWatch::Rearm() {
    if (change != INVALID_HANDLE_VALUE && !FindNextChangeNotification(change)) Stop();
}

void SettingsWatch::Stop() {
    if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);
    change = INVALID_HANDLE_VALUE;
}

int SettingsWatch::SameStamp(const Stamp& a, const Stamp& b) {
    if (!a.present || !b.present) return a.present == b.present;
    return CompareFileTime(&a.written, &b.written) == 0 && a.sizeHigh == b.sizeHigh && a.sizeLow == b.sizeLow;
}

SettingsWatch::Stamp SettingsWatch::Now() {
    Stamp stamp = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.ok && GetFileAttributesExW(path.text, GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        stamp.present = 1;
        stamp.written = data.ftLastWriteTime;
        stamp.sizeHigh = data.nFileSizeHigh;
        stamp.sizeLow = data.nFileSizeLow;
    }
    return stamp;
}

void SettingsWatch::Take() {
    taken = Now();
    seen = taken;
}

int SettingsWatch::Poll() {
    Stamp now = Now();
    if (!now.present || SameStamp(now, taken)) {
        seen = now;
        return 0;
    }
    // An empty file is not even opened: its writer is about to fill it,
    // and an open that keeps writers out would be in its way.
    int settled = SameStamp(now, seen) && (now.sizeHigh != 0 || now.sizeLow != 0);
    seen = now;
    return settled;
}

int SettingsWatch::Open(HANDLE* file, Stamp* stamp) {
    // No FILE_SHARE_WRITE: the open fails while a writer has the file, and
    // keeps writers out while it lasts. A folder does not open this way.
    *file = path.ok ? CreateFileW(path.text, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr)
                   : INVALID_HANDLE_VALUE;
    if (*file == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION information;
    unsigned char mark[2];
    DWORD read = 0;
    int whole = GetFileInformationByHandle(*file, &information) &&
                (information.nFileSizeHigh != 0 || information.nFileSizeLow != 0);
    if (whole && information.nFileSizeHigh == 0 && (information.nFileSizeLow & 1)) {
        // UTF-16 comes in pairs of bytes: an odd count is a file cut short.
        whole = ReadFile(*file, mark, 2, &read, nullptr) && read == 2 &&
                !((mark[0] == 0xFF && mark[1] == 0xFE) || (mark[0] == 0xFE && mark[1] == 0xFF));
    }
    if (!whole) {
        CloseHandle(*file);
        *file = INVALID_HANDLE_VALUE;
        return 0;
    }
    stamp->present = 1;
    stamp->written = information.ftLastWriteTime;
    stamp->sizeHigh = information.nFileSizeHigh;
    stamp->sizeLow = information.nFileSizeLow;
    return 1;
}

int SettingsWatch::IsWhole() {
    HANDLE file;
    Stamp stamp;
    if (!Open(&file, &stamp)) return 0;
    CloseHandle(file);
    return 1;
}

int SettingsWatch::Hold() {
    if (held != INVALID_HANDLE_VALUE) return 1;
    return Open(&held, &heldStamp);
}

int SettingsWatch::Release() {
    if (held == INVALID_HANDLE_VALUE) return 0;
    // Closed first: a file deleted during the read goes only with the last
    // handle.
    CloseHandle(held);
    held = INVALID_HANDLE_VALUE;
    int same = SameStamp(Now(), heldStamp);
    if (same) {
        taken = heldStamp;
        seen = heldStamp;
    }
    return same;
}
