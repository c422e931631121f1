#include "catalogue/ShortcutParser.h"

#include <cstdint>
#include <cstring>

#include "text/Wtf8.h"

namespace {

// The stored form of the class identifier 00021401-0000-0000-C000-000000000046.
const unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                      0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
const uint64_t kClsidOffset = 4;
const uint64_t kLinkFlagsOffset = 20;
// The header is 76 bytes; when an ID list follows, its 16-bit size comes
// first and the list itself after it.
const uint64_t kHeaderSize = 76;
const uint64_t kIdListSizeOffset = kHeaderSize;
const uint64_t kIdListOffset = kIdListSizeOffset + 2;
const uint32_t kHasLinkTargetIdList = 0x1;
const uint32_t kHasLinkInfo = 0x2;

// LinkInfo header fields, from the start of the LinkInfo.
const uint64_t kLinkInfoHeaderSizeField = 4;
const uint64_t kLinkInfoFlagsField = 8;
const uint64_t kCommonPathSuffixOffsetField = 24;
const uint64_t kMinLinkInfoHeaderSize = 28;  // up to and with CommonPathSuffixOffset
const uint32_t kVolumeIdAndLocalBasePath = 0x1;

// The Unicode fields, present when the LinkInfo header reaches them.
const uint64_t kLocalBasePathUnicodeField = 28;
const uint64_t kCommonPathSuffixUnicodeField = 32;
const uint64_t kUnicodeLinkInfoHeaderSize = 0x24;
const uint32_t kCommonNetworkRelativeLinkAndPathSuffix = 0x2;
const uint64_t kCommonNetworkRelativeLinkField = 20;
// In the CommonNetworkRelativeLink: NetNameOffset, and the Unicode net name
// that follows the header when NetNameOffset is above 0x14.
const uint64_t kNetNameOffsetField = 8;
const uint64_t kNetNameUnicodeField = 20;
const uint32_t kUnicodeNetNameOffset = 0x14;

uint32_t ReadU16(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

uint32_t ReadU32(const unsigned char* p) {
    return ReadU16(p) | ReadU16(p + 2) << 16;
}

// A path as it is put together: its bytes, and the UTF-16 units they take,
// which the platform's limit counts.
struct PathBuilder {
    char text[kPathBytes];
    size_t used;
    int units;

    void Clear() {
        used = 0;
        units = 0;
        text[0] = '\0';
    }
    // Bytes that take the given units; 0 when they would take the path
    // past 259 units.
    int Put(const char* bytes, int n, int unitCount) {
        units += unitCount;
        if (units >= kPathSize) return 0;
        for (int i = 0; i < n; ++i) text[used++] = bytes[i];
        text[used] = '\0';
        return 1;
    }
    // A backslash between the parts, unless the first ends with one.
    int Separate() { return used == 0 || text[used - 1] == '\\' || Put("\\", 1, 1); }
};

// Appends the ANSI text at offset `at` (up to its zero byte or the end of
// the data), its bytes as they are; 0 when it would not fit.
int AppendAnsi(PathBuilder& path, const unsigned char* data, size_t length, uint64_t at) {
    for (uint64_t i = at; i < length && data[i] != 0; ++i) {
        if (!path.Put(reinterpret_cast<const char*>(data + i), 1, 1)) return 0;
    }
    return 1;
}

// The same for UTF-16LE text; a pair is one character, a surrogate on its
// own is kept.
int AppendUnicode(PathBuilder& path, const unsigned char* data, size_t length, uint64_t at) {
    Utf16Unit units[kPathSize];
    int n = 0;
    for (uint64_t i = at; i + 1 < length && ReadU16(data + i) != 0; i += 2) {
        if (n + 1 >= kPathSize) return 0;
        units[n++] = static_cast<Utf16Unit>(ReadU16(data + i));
    }
    char bytes[kPathBytes];
    int converted = Wtf8FromUtf16(bytes, sizeof bytes, units, n);
    return converted >= 0 && path.Put(bytes, converted, n);
}

// The offset that the 32-bit field at `field` gives from `base`, when it
// points past the header there (headerSize bytes) and inside the data;
// 0 for absent.
uint64_t FieldTarget(const unsigned char* data, uint64_t size, uint64_t base, uint64_t field, uint64_t headerSize) {
    if (field + 4 > size) return 0;
    uint64_t offset = ReadU32(data + field);
    if (offset < headerSize || base + offset >= size) return 0;
    return base + offset;
}

// The target from the LinkInfo's Unicode fields: the local base path (with
// the common path suffix), or for a link into a network share the share's
// name and the suffix. 0 when the fields are absent or hold no path.
int ReadUnicodeTarget(const unsigned char* data, uint64_t size, uint64_t linkInfo, uint64_t headerSize,
                      uint32_t infoFlags, PathBuilder& path) {
    if (headerSize < kUnicodeLinkInfoHeaderSize) return 0;
    uint64_t suffix = FieldTarget(data, size, linkInfo, linkInfo + kCommonPathSuffixUnicodeField, headerSize);
    uint64_t first = 0;
    if (infoFlags & kVolumeIdAndLocalBasePath) {
        first = FieldTarget(data, size, linkInfo, linkInfo + kLocalBasePathUnicodeField, headerSize);
    } else if (infoFlags & kCommonNetworkRelativeLinkAndPathSuffix) {
        uint64_t network = FieldTarget(data, size, linkInfo, linkInfo + kCommonNetworkRelativeLinkField, headerSize);
        if (network && network + kNetNameUnicodeField + 4 <= size &&
            ReadU32(data + network + kNetNameOffsetField) > kUnicodeNetNameOffset) {
            first = FieldTarget(data, size, network, network + kNetNameUnicodeField, kNetNameUnicodeField + 8);
        }
    }
    if (!first || !AppendUnicode(path, data, size, first) || path.used == 0) return 0;
    if (!suffix || suffix + 1 >= size || ReadU16(data + suffix) == 0) return 1;
    return path.Separate() && AppendUnicode(path, data, size, suffix);
}

}  // namespace

int ParseShortcutTarget(const unsigned char* data, size_t length, char (&target)[kPathBytes]) {
    const uint64_t size = length;
    if (size < 20 || data[0] != 0x4C || memcmp(data + kClsidOffset, kLinkClsid, 16) != 0) return 0;
    if (size < 24) return 0;
    uint32_t flags = ReadU32(data + kLinkFlagsOffset);
    if (!(flags & kHasLinkInfo)) return 0;

    uint64_t linkInfo = kHeaderSize;
    if (flags & kHasLinkTargetIdList) {
        if (size < kIdListOffset) return 0;
        linkInfo = kIdListOffset + static_cast<uint64_t>(ReadU16(data + kIdListSizeOffset));
    }
    if (size < linkInfo + 8) return 0;
    uint64_t headerSize = ReadU32(data + linkInfo + kLinkInfoHeaderSizeField);
    if (size < linkInfo + headerSize + 4) return 0;
    uint32_t infoFlags = headerSize >= kMinLinkInfoHeaderSize ? ReadU32(data + linkInfo + kLinkInfoFlagsField) : 0;

    PathBuilder path;
    path.Clear();
    if (ReadUnicodeTarget(data, size, linkInfo, headerSize, infoFlags, path)) {
        memcpy(target, path.text, path.used + 1);
        return kShortcutUnicode;
    }
    path.Clear();

    uint64_t volumeIdSize = ReadU32(data + linkInfo + headerSize);
    uint64_t basePath = linkInfo + headerSize + volumeIdSize;
    if (size < basePath + 1) return 0;
    if (!AppendAnsi(path, data, length, basePath) || path.used == 0) return 0;

    // A target inside a folder shared on the network has its path split: the
    // base path holds the shared folder, the common path suffix the rest.
    // (size >= linkInfo + headerSize + 4 covers the fields read here.)
    if (infoFlags & kVolumeIdAndLocalBasePath) {
        uint64_t suffix = linkInfo + ReadU32(data + linkInfo + kCommonPathSuffixOffsetField);
        if (suffix < size && data[suffix] != 0) {
            if (!path.Separate() || !AppendAnsi(path, data, length, suffix)) return 0;
        }
    }
    memcpy(target, path.text, path.used + 1);
    return kShortcutAnsi;
}
