#include "settings/SettingsCopy.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "settings/ProfileEdit.h"
#include "settings/ProfileText.h"
#include "text/Wtf8.h"
#include "files/WholeFile.h"

namespace {

const unsigned char kUtf16Mark[2] = {0xFF, 0xFE};

// The mark and the units, written as the copy in one piece.
int WriteUtf16(FileReplace& replace, const wchar_t* units, size_t count) {
    size_t bytes = sizeof kUtf16Mark + count * sizeof(wchar_t);
    unsigned char* data = static_cast<unsigned char*>(malloc(bytes));
    if (!data) return 0;
    data[0] = kUtf16Mark[0];
    data[1] = kUtf16Mark[1];
    for (size_t i = 0; i < count; ++i) {
        data[2 + 2 * i] = static_cast<unsigned char>(units[i] & 0xFF);
        data[3 + 2 * i] = static_cast<unsigned char>(static_cast<unsigned short>(units[i]) >> 8);
    }
    int ok = replace.WriteCopy(data, bytes);
    free(data);
    return ok;
}

// Keeps the file as it is beside it, once: a second conversion never
// replaces what the first kept. 1 when it is kept.
int KeepOriginal(const wchar_t* target) {
    wchar_t backup[kPathSize];
    size_t length = wcslen(target);
    const size_t suffix = sizeof kUtf8BackupSuffix / sizeof kUtf8BackupSuffix[0];
    if (length + suffix > static_cast<size_t>(kPathSize)) return 0;
    wmemcpy(backup, target, length);
    wmemcpy(backup + length, kUtf8BackupSuffix, suffix);
    return CopyFileW(target, backup, TRUE) || GetLastError() == ERROR_FILE_EXISTS;
}

// The file's text as UTF-16 units, its mark left out, into a heap buffer
// the caller frees; null when it cannot be decoded or memory runs out.
wchar_t* DecodeSettings(const char* text, size_t length, int encoding, int* units) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t mark = SettingsMarkLength(encoding);
    size_t size = length - mark;
    wchar_t* wide = static_cast<wchar_t*>(malloc((size + 1) * sizeof *wide));
    if (!wide) return nullptr;
    int n = 0;
    if (encoding == kSettingsUtf16Le || encoding == kSettingsUtf16Be) {
        // An odd last byte is no unit; it is dropped as the platform would.
        int high = encoding == kSettingsUtf16Be;
        for (size_t at = mark; at + 1 < length; at += 2) {
            wide[n++] = static_cast<wchar_t>(bytes[at + !high] << 8 | bytes[at + high]);
        }
    } else if (encoding == kSettingsUtf8 || encoding == kSettingsUtf8Mark) {
        n = Utf16FromWtf8(wide, size + 1, text + mark, static_cast<int>(size));
    } else if (size > 0) {
        n = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(size), wide, static_cast<int>(size));
        if (n <= 0) n = -1;
    }
    if (n < 0) {
        free(wide);
        return nullptr;
    }
    *units = n;
    return wide;
}

}  // namespace

SettingsCopy::SettingsCopy(const wchar_t* path) : replace(path) {}

SettingsCopy::~SettingsCopy() {}

int SettingsCopy::WriteUnicodeCopy() {
    size_t length = 0;
    char* text = nullptr;
    if (replace.TargetExists() && !(text = ReadWholeFile(replace.TargetPath(), kMaxConvertBytes, &length))) return 0;
    int units = 0;
    int encoding = text ? SettingsEncoding(text, length, GetACP() == CP_UTF8) : kSettingsAnsi;
    wchar_t* wide = text ? DecodeSettings(text, length, encoding, &units) : nullptr;
    free(text);
    if (text && !wide) return 0;
    int ok = WriteUtf16(replace, wide, static_cast<size_t>(units));
    free(wide);
    return ok;
}

int SettingsCopy::Begin(int toUnicode) {
    if (!replace.Begin()) return 0;
    if (toUnicode == kReadable && (replace.Linked() || !KeepOriginal(replace.TargetPath()))) return 0;
    if (toUnicode) return WriteUnicodeCopy();
    return !replace.TargetExists() || replace.CopyTarget();
}

int SettingsCopy::Commit() {
    return replace.Commit();
}

namespace {

// A text of the ANSI code page, its bytes one to a unit, into a heap
// buffer the caller frees; null when it cannot be held.
ProfileUnit* AnsiUnits(const wchar_t* text) {
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    char* narrow = bytes > 0 ? static_cast<char*>(malloc(static_cast<size_t>(bytes))) : nullptr;
    ProfileUnit* units =
        narrow ? static_cast<ProfileUnit*>(malloc(static_cast<size_t>(bytes) * sizeof *units)) : nullptr;
    if (units && WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, bytes, nullptr, nullptr) == bytes) {
        for (int i = 0; i < bytes; ++i) units[i] = static_cast<unsigned char>(narrow[i]);
    } else {
        free(units);
        units = nullptr;
    }
    free(narrow);
    return units;
}

// The text with the key set (names: section, key, value, in the text's own
// units), into a heap buffer the caller frees; null when memory runs out.
ProfileUnit* EditText(const ProfileUnit* text, size_t count, const ProfileUnit* const (&names)[3], size_t* used) {
    size_t lengths[3] = {};
    for (int i = 0; i < 3; ++i) {
        while (names[i][lengths[i]]) ++lengths[i];
    }
    size_t room = ProfileEditSize(count, lengths[0], lengths[1], lengths[2]);
    ProfileUnit* edited = static_cast<ProfileUnit*>(malloc(room * sizeof *edited));
    if (edited) *used = SetProfileKey(text, count, names[0], names[1], names[2], edited);
    return edited;
}

}  // namespace

int SettingsCopy::SetKey(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    size_t length = 0;
    char* bytes = ReadWholeFile(replace.CopyPath(), kMaxConvertBytes, &length);
    if (!bytes) return 0;
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    int wide = length >= 2 && b[0] == kUtf16Mark[0] && b[1] == kUtf16Mark[1];
    size_t used = 0;
    ProfileUnit* edited = nullptr;
    int ok = 0;
    if (wide) {
        // Little-endian units after the mark, as the platform's own; one cut
        // inside a character would lose its last byte.
        const ProfileUnit* const names[3] = {reinterpret_cast<const ProfileUnit*>(section),
                                             reinterpret_cast<const ProfileUnit*>(key),
                                             reinterpret_cast<const ProfileUnit*>(value)};
        const ProfileUnit* text = reinterpret_cast<const ProfileUnit*>(bytes + 2);
        if (!(length & 1)) edited = EditText(text, (length - 2) / 2, names, &used);
        ok = edited && WriteUtf16(replace, reinterpret_cast<const wchar_t*>(edited), used);
    } else if (!(length >= 2 && b[0] == 0xFE && b[1] == 0xFF)) {
        // An ANSI file, a byte a unit (UTF-16BE is turned into UTF-16LE by
        // every reader before a write).
        ProfileUnit* names[3] = {AnsiUnits(section), AnsiUnits(key), AnsiUnits(value)};
        ProfileUnit* text = static_cast<ProfileUnit*>(malloc((length + 1) * sizeof *text));
        if (text && names[0] && names[1] && names[2]) {
            for (size_t i = 0; i < length; ++i) text[i] = b[i];
            const ProfileUnit* const given[3] = {names[0], names[1], names[2]};
            edited = EditText(text, length, given, &used);
        }
        unsigned char* out = edited ? static_cast<unsigned char*>(malloc(used + 1)) : nullptr;
        if (out) {
            for (size_t i = 0; i < used; ++i) out[i] = static_cast<unsigned char>(edited[i]);
            ok = replace.WriteCopy(out, used);
        }
        free(out);
        free(text);
        for (ProfileUnit* name : names) free(name);
    }
    free(edited);
    free(bytes);
    return ok;
}

int CreateSettingsFile(const wchar_t* path) {
    FileReplace replace(path);
    if (!replace.Begin()) {
        // A file there that cannot be written (read-only, held) is still
        // one to open; a folder of that name is none.
        DWORD attributes = GetFileAttributesW(path);
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    if (replace.TargetExists()) return 1;
    size_t length = strlen(kSettingsTemplate);
    wchar_t* wide = static_cast<wchar_t*>(malloc(length * sizeof *wide));
    if (!wide) return 0;
    for (size_t i = 0; i < length; ++i) wide[i] = static_cast<unsigned char>(kSettingsTemplate[i]);
    int ok = WriteUtf16(replace, wide, length) && replace.Commit();
    free(wide);
    return ok;
}

int MakeSettingsReadable(const wchar_t* path) {
    // The first bytes tell a mark; a file without one is looked at whole.
    size_t length = 0;
    char* text = ReadWholeFile(path, SettingsCopy::kMaxConvertBytes, &length);
    if (!text) return 1;  // none yet, or unreadable: nothing to turn
    int encoding = SettingsEncoding(text, length, GetACP() == CP_UTF8);
    // Bytes behind a UTF-8 mark that are no UTF-8 would each become U+FFFD.
    int lossy = encoding == kSettingsUtf8Mark && !IsWtf8(text + 3, length - 3);
    free(text);
    if (lossy || (encoding != kSettingsUtf8 && encoding != kSettingsUtf8Mark && encoding != kSettingsUtf16Be)) return 1;
    // A refusal leaves the file as it was: a link's target, or a file whose
    // original could not be kept.
    SettingsCopy copy(path);
    return copy.Begin(SettingsCopy::kReadable) && copy.Commit();
}
