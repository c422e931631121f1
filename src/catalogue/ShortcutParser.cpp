#include "catalogue/ShortcutParser.h"

#include <cstdint>
#include <cstring>

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

uint32_t ReadU16(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

uint32_t ReadU32(const unsigned char* p) {
    return ReadU16(p) | ReadU16(p + 2) << 16;
}

// Appends the text at offset `at` (up to its zero byte or the end of the
// data) to the used characters of target; 0 when it would not fit.
int AppendText(char (&target)[kPathSize], size_t* used, const unsigned char* data, size_t length,
               uint64_t at) {
    size_t n = *used;
    for (uint64_t i = at; i < length && data[i] != 0; ++i) {
        if (n + 1 >= sizeof target) return 0;
        target[n++] = static_cast<char>(data[i]);
    }
    target[n] = '\0';
    *used = n;
    return 1;
}

}  // namespace

int ParseShortcutTarget(const unsigned char* data, size_t length, char (&target)[kPathSize]) {
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
    uint64_t volumeIdSize = ReadU32(data + linkInfo + headerSize);
    uint64_t basePath = linkInfo + headerSize + volumeIdSize;
    if (size < basePath + 1) return 0;

    char path[kPathSize];
    size_t used = 0;
    if (!AppendText(path, &used, data, length, basePath) || used == 0) return 0;

    // A target inside a folder shared on the network has its path split: the
    // base path holds the shared folder, the common path suffix the rest.
    // (size >= linkInfo + headerSize + 4 covers the fields read here.)
    if (headerSize >= kMinLinkInfoHeaderSize &&
        (ReadU32(data + linkInfo + kLinkInfoFlagsField) & kVolumeIdAndLocalBasePath)) {
        uint64_t suffix = linkInfo + ReadU32(data + linkInfo + kCommonPathSuffixOffsetField);
        if (suffix < size && data[suffix] != 0) {
            if (path[used - 1] != '\\') {
                if (used + 1 >= sizeof path) return 0;
                path[used++] = '\\';
                path[used] = '\0';
            }
            if (!AppendText(path, &used, data, length, suffix)) return 0;
        }
    }
    memcpy(target, path, used + 1);
    return 1;
}
