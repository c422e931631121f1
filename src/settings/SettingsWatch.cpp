#include "settings/SettingsWatch.h"

#include <cstdlib>
#include <cwchar>

#include "files/FinalPath.h"
#include "text/Hash.h"

SettingsWatch::SettingsWatch(const char* fileName)
    : path(fileName),
      taken(),
      seen(),
      held(INVALID_HANDLE_VALUE),
      heldStamp(),
      change(INVALID_HANDLE_VALUE),
      polling(0),
      notWhole(0),
      notWholeSince(0),
      kept(nullptr),
      keptLength(0),
      heldBytes(nullptr),
      heldLength(0) {}

SettingsWatch::~SettingsWatch() {
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    Stop();
    free(kept);
    free(heldBytes);
}

int SettingsWatch::Notify() {
    if (change != INVALID_HANDLE_VALUE) return 1;
    // The folder of the file itself: a link's own folder does not change
    // when the file it points to is saved.
    wchar_t folder[kPathSize];
    wchar_t* name = nullptr;
    if (!path.ok) return 0;
    if (ResolveFinalPath(path.text, folder, kPathSize)) {
        name = wcsrchr(folder, L'\\');
        if (name) ++name;
    } else {
        DWORD n = GetFullPathNameW(path.text, kPathSize, folder, &name);
        if (n == 0 || n >= static_cast<DWORD>(kPathSize)) return 0;
    }
    if (!name) return 0;
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
    polling = 0;
}

int SettingsWatch::SameStamp(const Stamp& a, const Stamp& b) {
    if (!a.present || !b.present) return a.present == b.present;
    // A digest tells only where both stamps have one (a file read while it
    // was recent, against one read later).
    return CompareFileTime(&a.written, &b.written) == 0 && a.sizeHigh == b.sizeHigh && a.sizeLow == b.sizeLow &&
           (a.digest == b.digest || !a.digest || !b.digest);
}

int SettingsWatch::StampOf(HANDLE file, Stamp* stamp, int keep) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return 0;
    }
    stamp->present = 1;
    stamp->written = information.ftLastWriteTime;
    stamp->sizeHigh = information.nFileSizeHigh;
    stamp->sizeLow = information.nFileSizeLow;
    stamp->digest = 0;
    if (keep) {
        free(heldBytes);
        heldBytes = nullptr;
        heldLength = 0;
    }
    // A file too big to keep is told by its time and size alone.
    if (information.nFileSizeHigh != 0 || information.nFileSizeLow > kMaxKeptBytes) return 1;
    DWORD size = information.nFileSizeLow;
    char* bytes = static_cast<char*>(malloc(size + 1));
    DWORD read = 0;
    LARGE_INTEGER start = {};
    if (bytes && SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && ReadFile(file, bytes, size, &read, nullptr) &&
        read == size) {
        stamp->digest = HashBytes(kHashStart, bytes, size) | 1;  // 0 stays "not read"
        if (keep) {
            free(heldBytes);
            heldBytes = bytes;
            heldLength = size;
            return 1;
        }
    }
    free(bytes);
    return 1;
}

SettingsWatch::Stamp SettingsWatch::Now() {
    Stamp stamp = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path.ok || !GetFileAttributesExW(path.text, GetFileExInfoStandard, &data)) return stamp;
    // A link describes itself: the file it points to is opened for its own
    // stamp. So is a file written so lately that a save within the same
    // step of its time (two seconds on FAT32) could have kept its time and
    // size: its bytes tell. Opened with every kind of sharing, so that no
    // writer is kept out.
    ULARGE_INTEGER written = {{data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}};
    FILETIME nowTime;
    GetSystemTimeAsFileTime(&nowTime);
    ULARGE_INTEGER now = {{nowTime.dwLowDateTime, nowTime.dwHighDateTime}};
    int recent = now.QuadPart < written.QuadPart + kSameTimeWindow;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || recent) {
        HANDLE file = CreateFileW(path.text, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            if (!StampOf(file, &stamp, 0)) stamp = Stamp();
            CloseHandle(file);
            return stamp;
        }
    }
    // Held by a writer that shares nothing: told by its time and size.
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        stamp.present = 1;
        stamp.written = data.ftLastWriteTime;
        stamp.sizeHigh = data.nFileSizeHigh;
        stamp.sizeLow = data.nFileSizeLow;
    }
    return stamp;
}

void SettingsWatch::Take() {
    HANDLE file;
    if (Open(&file, &heldStamp)) {
        CloseHandle(file);
        free(kept);
        kept = heldBytes;
        keptLength = heldLength;
        heldBytes = nullptr;
        taken = heldStamp;
    } else {
        taken = Now();
    }
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
    unsigned char mark[2];
    DWORD read = 0;
    int whole = StampOf(*file, stamp, 1) && (stamp->sizeHigh != 0 || stamp->sizeLow != 0);
    if (whole && stamp->sizeHigh == 0 && (stamp->sizeLow & 1)) {
        // UTF-16 comes in pairs of bytes: an odd count is a file cut short.
        LARGE_INTEGER start = {};
        whole = SetFilePointerEx(*file, start, nullptr, FILE_BEGIN) && ReadFile(*file, mark, 2, &read, nullptr) &&
                read == 2 && !((mark[0] == 0xFF && mark[1] == 0xFE) || (mark[0] == 0xFE && mark[1] == 0xFF));
    }
    if (!whole) {
        CloseHandle(*file);
        *file = INVALID_HANDLE_VALUE;
        return 0;
    }
    return 1;
}

int SettingsWatch::IsWhole() {
    HANDLE file;
    Stamp stamp;
    if (!Open(&file, &stamp)) {
        if (!notWhole) notWholeSince = GetTickCount();
        notWhole = 1;
        return 0;
    }
    CloseHandle(file);
    notWhole = 0;
    return 1;
}

DWORD SettingsWatch::NotWholeFor() const {
    return notWhole ? GetTickCount() - notWholeSince : 0;
}

int SettingsWatch::WriteTaken(wchar_t (&out)[kPathSize]) const {
    wchar_t folder[kPathSize];
    DWORD n = GetTempPathW(kPathSize, folder);
    if (!kept || n == 0 || n >= static_cast<DWORD>(kPathSize) || !GetTempFileNameW(folder, L"kwi", 0, out)) return 0;
    HANDLE file = CreateFileW(out, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    DWORD written = 0;
    int ok = file != INVALID_HANDLE_VALUE && WriteFile(file, kept, static_cast<DWORD>(keptLength), &written, nullptr) &&
             written == keptLength;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!ok) DeleteFileW(out);
    return ok;
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
        free(kept);
        kept = heldBytes;
        keptLength = heldLength;
        heldBytes = nullptr;
    }
    return same;
}
