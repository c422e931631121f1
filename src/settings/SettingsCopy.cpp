#include "settings/SettingsCopy.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "settings/ProfileText.h"
#include "text/Wtf8.h"
#include "window/WholeFile.h"

namespace {

const unsigned char kUtf16Mark[2] = {0xFF, 0xFE};

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
    // The mark and the units in one buffer, written in one piece.
    size_t bytes = sizeof kUtf16Mark + static_cast<size_t>(units) * sizeof(wchar_t);
    unsigned char* data = static_cast<unsigned char*>(malloc(bytes));
    int ok = data != nullptr;
    if (ok) {
        data[0] = kUtf16Mark[0];
        data[1] = kUtf16Mark[1];
        for (int i = 0; i < units; ++i) {
            data[2 + 2 * i] = static_cast<unsigned char>(wide[i] & 0xFF);
            data[3 + 2 * i] = static_cast<unsigned char>(static_cast<unsigned short>(wide[i]) >> 8);
        }
        ok = replace.WriteCopy(data, bytes);
    }
    free(data);
    free(wide);
    return ok;
}

int SettingsCopy::Begin(int toUnicode) {
    if (!replace.Begin()) return 0;
    if (toUnicode) return WriteUnicodeCopy();
    return !replace.TargetExists() || replace.CopyTarget();
}

int SettingsCopy::Commit() {
    // Three nulls write the profile functions' cached text of the copy out.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, replace.CopyPath());
    return replace.Commit();
}

int CreateSettingsFile(const wchar_t* path) {
    FileReplace replace(path);
    if (!replace.Begin()) return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
    if (replace.TargetExists()) return 1;
    size_t length = strlen(kSettingsTemplate);
    unsigned char* data = static_cast<unsigned char*>(malloc(2 + 2 * length));
    if (!data) return 0;
    data[0] = kUtf16Mark[0];
    data[1] = kUtf16Mark[1];
    for (size_t i = 0; i < length; ++i) {
        data[2 + 2 * i] = static_cast<unsigned char>(kSettingsTemplate[i]);
        data[3 + 2 * i] = 0;
    }
    int ok = replace.WriteCopy(data, 2 + 2 * length) && replace.Commit();
    free(data);
    return ok;
}

int MakeSettingsReadable(const wchar_t* path) {
    // The first bytes tell a mark; a file without one is looked at whole.
    size_t length = 0;
    char* text = ReadWholeFile(path, SettingsCopy::kMaxConvertBytes, &length);
    if (!text) return 1;  // none yet, or unreadable: nothing to turn
    int encoding = SettingsEncoding(text, length, GetACP() == CP_UTF8);
    free(text);
    if (encoding != kSettingsUtf8 && encoding != kSettingsUtf8Mark && encoding != kSettingsUtf16Be) return 1;
    SettingsCopy copy(path);
    return copy.Begin(1) && copy.Commit();
}
