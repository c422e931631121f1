#include "catalogue/ShortcutParser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

void PutU16(Bytes& b, size_t at, unsigned v) {
    b[at] = static_cast<unsigned char>(v);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}
void PutU32(Bytes& b, size_t at, unsigned v) {
    PutU16(b, at, v & 0xFFFF);
    PutU16(b, at + 2, v >> 16);
}
void Append(Bytes& b, const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    b.push_back(0);
}

const unsigned char kClsid[16] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};

// A shell link as the shell writes one for a local file: header, optional ID
// list, then a LinkInfo with a 28-byte header, a VolumeID, the local base
// path and the common path suffix.
struct LinkLayout {
    int idListSize = -1;  // -1: no ID list
    unsigned linkInfoFlags = 1;
    unsigned volumeIdSize = 17;
    std::string basePath = "C:\\Tools\\app.exe";
    std::string suffix;
    unsigned linkFlags = 0x2;
};

Bytes MakeLink(const LinkLayout& layout) {
    Bytes b(76, 0);
    b[0] = 0x4C;
    memcpy(&b[4], kClsid, 16);
    unsigned flags = layout.linkFlags | (layout.idListSize >= 0 ? 1u : 0u);
    PutU32(b, 20, flags);
    if (layout.idListSize >= 0) {
        b.resize(78 + layout.idListSize, 0xEE);
        PutU16(b, 76, static_cast<unsigned>(layout.idListSize));
    }
    size_t linkInfo = b.size();
    b.resize(linkInfo + 28 + layout.volumeIdSize, 0);
    PutU32(b, linkInfo + 4, 28);
    PutU32(b, linkInfo + 8, layout.linkInfoFlags);
    PutU32(b, linkInfo + 12, 28);
    PutU32(b, linkInfo + 16, 28 + layout.volumeIdSize);
    PutU32(b, linkInfo + 28, layout.volumeIdSize);
    Append(b, layout.basePath);
    PutU32(b, linkInfo + 24, static_cast<unsigned>(b.size() - linkInfo));
    Append(b, layout.suffix);
    PutU32(b, linkInfo, static_cast<unsigned>(b.size() - linkInfo));
    b.resize(b.size() + 4, 0);  // the terminal block
    return b;
}

// The parser's answer, or "<none>".
std::string Parse(const Bytes& b) {
    char target[kPathBytes];
    memset(target, 'X', sizeof target);
    if (!ParseShortcutTarget(b.data(), b.size(), target)) return "<none>";
    EXPECT_LT(strlen(target), sizeof target);
    return target;
}

// A link whose LinkInfo header (0x24 bytes) has the Unicode fields: the ANSI
// base path "C:\a?.exe", then the Unicode one "C:\aé.exe" at unicodeAt (its
// offset as written: 0 for where it lies), the Unicode suffix empty.
Bytes MakeUnicodeLink(unsigned unicodeAt) {
    Bytes b(76, 0);
    b[0] = 0x4C;
    memcpy(&b[4], kClsid, 16);
    PutU32(b, 20, 0x2);
    const size_t linkInfo = b.size();
    b.resize(linkInfo + 0x24 + 17, 0);
    PutU32(b, linkInfo + 4, 0x24);
    PutU32(b, linkInfo + 8, 1);
    PutU32(b, linkInfo + 12, 0x24);
    PutU32(b, linkInfo + 0x24, 17);  // the VolumeID's size
    PutU32(b, linkInfo + 16, static_cast<unsigned>(b.size() - linkInfo));
    Append(b, "C:\\a?.exe");
    PutU32(b, linkInfo + 24, static_cast<unsigned>(b.size() - linkInfo));
    b.push_back(0);  // no suffix
    PutU32(b, linkInfo + 28, unicodeAt ? unicodeAt : static_cast<unsigned>(b.size() - linkInfo));
    for (unsigned unit : {0x43u, 0x3Au, 0x5Cu, 0x61u, 0xE9u, 0x2Eu, 0x65u, 0x78u, 0x65u, 0u}) {  // C:\aé.exe
        b.push_back(static_cast<unsigned char>(unit));
        b.push_back(static_cast<unsigned char>(unit >> 8));
    }
    PutU32(b, linkInfo + 32, static_cast<unsigned>(b.size() - linkInfo));
    b.push_back(0);
    b.push_back(0);
    PutU32(b, linkInfo, static_cast<unsigned>(b.size() - linkInfo));
    return b;
}

TEST(ShortcutParser, UnicodeFieldsWhenTheyPointInsideTheFileElseTheAnsiPath) {
    EXPECT_EQ(Parse(MakeUnicodeLink(0)), "C:\\a\xC3\xA9.exe");
    EXPECT_EQ(Parse(MakeUnicodeLink(100000)), "C:\\a?.exe");  // past the end of the file
    EXPECT_EQ(Parse(MakeUnicodeLink(8)), "C:\\a?.exe");       // into the LinkInfo header
}

TEST(ShortcutParser, ReadsTheLocalBasePathWithAndWithoutIdList) {
    LinkLayout layout;
    EXPECT_EQ(Parse(MakeLink(layout)), "C:\\Tools\\app.exe");
    layout.idListSize = 0;
    EXPECT_EQ(Parse(MakeLink(layout)), "C:\\Tools\\app.exe");
    layout.idListSize = 300;
    EXPECT_EQ(Parse(MakeLink(layout)), "C:\\Tools\\app.exe");
    // The ID list size decides where the LinkInfo is read.
    Bytes b = MakeLink(layout);
    PutU16(b, 76, 302);
    EXPECT_NE(Parse(b), "C:\\Tools\\app.exe");
}

TEST(ShortcutParser, HeaderChecks) {
    Bytes good = MakeLink(LinkLayout());
    EXPECT_EQ(Parse(Bytes(good.begin(), good.begin() + 19)), "<none>");
    Bytes b = good;
    b[0] = 0x4D;
    EXPECT_EQ(Parse(b), "<none>");
    for (int i = 4; i < 20; ++i) {
        b = good;
        b[i] ^= 0x01;
        EXPECT_EQ(Parse(b), "<none>") << "CLSID byte " << i;
    }
    // Only the first byte of the header size is examined.
    b = good;
    b[1] = 0xAB;
    b[2] = 0xCD;
    b[3] = 0xEF;
    EXPECT_EQ(Parse(b), "C:\\Tools\\app.exe");
    // No LinkInfo: no target, whatever else the file holds.
    LinkLayout layout;
    layout.linkFlags = 0xFFFFFFFD;
    EXPECT_EQ(Parse(MakeLink(layout)), "<none>");
}

TEST(ShortcutParser, EveryTruncationIsSafe) {
    LinkLayout layout;
    layout.idListSize = 20;
    Bytes good = MakeLink(layout);
    size_t pathAt = good.size() - 4 - 1 - (layout.basePath.size() + 1);  // empty suffix
    for (size_t n = 0; n < good.size(); ++n) {
        // An exactly sized copy, so that the sanitizers see any read past it.
        Bytes cut(good.begin(), good.begin() + n);
        std::string got = Parse(cut);
        if (n <= pathAt) {
            EXPECT_EQ(got, "<none>") << n;
        } else {
            // A path running into the end of the file yields what is there.
            EXPECT_EQ(got, layout.basePath.substr(0, std::min(n - pathAt, layout.basePath.size()))) << n;
        }
    }
}

TEST(ShortcutParser, HugeSizesInTheLinkInfoNeverOverflow) {
    Bytes b = MakeLink(LinkLayout());
    Bytes c = b;
    PutU32(c, 80, 0xFFFFFFFF);  // LinkInfoHeaderSize
    EXPECT_EQ(Parse(c), "<none>");
    c = b;
    PutU32(c, 76 + 28, 0xFFFFFFFF);  // VolumeIDSize
    EXPECT_EQ(Parse(c), "<none>");
    c = b;
    PutU32(c, 76 + 24, 0xFFFFFFF0);  // CommonPathSuffixOffset
    EXPECT_EQ(Parse(c), "C:\\Tools\\app.exe");
}

TEST(ShortcutParser, EmptyAndOverlongPaths) {
    LinkLayout layout;
    layout.basePath = "";
    EXPECT_EQ(Parse(MakeLink(layout)), "<none>");
    layout.basePath = "C:\\" + std::string(256, 'a');  // 259 characters
    EXPECT_EQ(Parse(MakeLink(layout)), layout.basePath);
    layout.basePath += "b";  // 260: refused, never cut
    EXPECT_EQ(Parse(MakeLink(layout)), "<none>");
}

TEST(ShortcutParser, SharedFolderTargetsJoinTheCommonPathSuffix) {
    LinkLayout layout;
    layout.linkInfoFlags = 3;  // local base path and network part
    layout.basePath = "C:\\Users\\";
    layout.suffix = "root\\Desktop\\Fatality.rdp";
    EXPECT_EQ(Parse(MakeLink(layout)), "C:\\Users\\root\\Desktop\\Fatality.rdp");
    layout.basePath = "C:\\Users";
    EXPECT_EQ(Parse(MakeLink(layout)), "C:\\Users\\root\\Desktop\\Fatality.rdp");
    // The 260-character rule holds for the joined path.
    layout.basePath = "C:\\" + std::string(200, 'a');
    layout.suffix = std::string(55, 'b');  // 3 + 200 + 1 + 55 = 259
    EXPECT_EQ(Parse(MakeLink(layout)).size(), 259u);
    layout.suffix += "c";
    EXPECT_EQ(Parse(MakeLink(layout)), "<none>");
    // Without the local-path flag, stepping over the VolumeID alone decides.
    layout.linkInfoFlags = 2;
    layout.basePath = "C:\\Users\\";
    layout.suffix = "root\\x.rdp";
    EXPECT_EQ(Parse(MakeLink(layout)), "C:\\Users\\");
    // An empty suffix leaves the base path alone.
    layout.linkInfoFlags = 1;
    layout.suffix = "";
    EXPECT_EQ(Parse(MakeLink(layout)), "C:\\Users\\");
}

TEST(ShortcutParser, ShortLinkInfoHeaderHasNoSuffixField) {
    LinkLayout layout;
    layout.linkInfoFlags = 3;
    layout.basePath = "C:\\Users\\";
    layout.suffix = "root\\x.rdp";
    Bytes b = MakeLink(layout);
    // A header of 20 bytes: the VolumeID size is then read 20 bytes in.
    PutU32(b, 80, 20);
    PutU32(b, 76 + 20, 8 + 17);  // steps over the rest of the header and the VolumeID
    EXPECT_EQ(Parse(b), "C:\\Users\\");
}

#ifdef KWIVO_LNK_CORPUS

Bytes ReadFileBytes(const std::string& path) {
    Bytes b;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return b;
    int c;
    while ((c = fgetc(f)) != EOF) b.push_back(static_cast<unsigned char>(c));
    fclose(f);
    return b;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

// The independent reader prints the ANSI path decoded as Windows-1252, in
// UTF-8. Every such character in the corpus lies below U+0100, so the stored
// bytes are the code points themselves; 0 when another character occurs.
bool Utf8ToLatin1(const std::string& in, std::string* out) {
    out->clear();
    for (size_t i = 0; i < in.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) {
            *out += static_cast<char>(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < in.size()) {
            unsigned cp = (c & 0x1Fu) << 6 | (static_cast<unsigned char>(in[++i]) & 0x3Fu);
            if (cp > 0xFF) return false;
            *out += static_cast<char>(cp);
        } else {
            return false;
        }
    }
    return true;
}

TEST(ShortcutParser, AgreesWithAnIndependentReaderOnRealLinks) {
    // Where stepping over the VolumeID (rather than following the LinkInfo's
    // offsets) gives another answer than the independent reader, the answer
    // is stated here with the reason.
    const std::map<std::string, std::string> stated = {
        // Network-only links: the CommonNetworkRelativeLink is stepped over as
        // if it were a VolumeID, and the common path suffix after it is taken:
        // the path below the share, not a local path.
        {"ez-misc-native.xp.20.lnk", "Install\\Install_Softs\\Administrateur\\Newsid\\2003"},
        {"ez-misc-remote.file.aidlist.lnk", "Encoding\\@Films\\AAA AAA AAAAA 1"},
        // The Unicode fields (in WTF-8 here): the share's name and the
        // suffix, as the independent reader gives them.
        {"ez-misc-unicodeNetworkPath.lnk", "\\\\\xDE\x93\\C\\relay\\\xE8\xAF\xB4\xE6\x98\x8E.txt"},
        {"lnkparse3-network_info.lnk",
         "A - LM METAL LIFT\\01.OBCHOD - BRO\x8EURY - Prodejn\xED a technick\xE9 informace o "
         "produktech\\ETN\\ETN-Katalog-ENG\\Katalog ETN 10_2017\\Lift-programme\\ETN-lift "
         "programme 2017.pdf"},
        // The independent reader fails on a cut extra-data block after the
        // LinkInfo; the LinkInfo itself is sound.
        {"lnkparse3-extra_data.lnk", "C:\\Users\\Jonathan\\AppData\\Roaming\\.minecraft"},
        // The Unicode path holds an unpaired surrogate, kept exactly (in
        // WTF-8), which the independent reader prints as U+FFFD without the
        // dot after it; the ANSI path holds "?".
        {"plaso-unpaired_surrogate.lnk", "C:\\test\\unicode_U+0000d800_\xED\xA0\x80.exe"},
    };
    const std::string folder = KWIVO_LNK_CORPUS;
    FILE* manifest = fopen((folder + "/MANIFEST.tsv").c_str(), "rb");
    ASSERT_NE(manifest, nullptr) << folder;
    char line[4096];
    ASSERT_NE(fgets(line, sizeof line, manifest), nullptr);  // column names
    int links = 0, withTarget = 0;
    while (fgets(line, sizeof line, manifest)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        std::vector<std::string> f = SplitTabs(text);
        ASSERT_GE(f.size(), 10u) << text;
        const std::string& file = f[0];
        Bytes bytes = ReadFileBytes(folder + "/" + file);
        ASSERT_FALSE(bytes.empty()) << file;
        ASSERT_EQ(std::to_string(bytes.size()), f[4]) << file;

        std::string expected = "<none>";
        auto it = stated.find(file);
        if (it != stated.end()) {
            expected = it->second;
        } else if (!f[7].empty()) {
            ASSERT_TRUE(Utf8ToLatin1(f[7], &expected)) << file;
        }
        std::string got = Parse(bytes);
        EXPECT_EQ(got, expected) << file;
        ++links;
        if (got != "<none>") ++withTarget;
    }
    fclose(manifest);
    EXPECT_EQ(links, 62);
    EXPECT_EQ(withTarget, 32);
}

TEST(ShortcutParser, SharedFolderLinksOfTheCorpusNameTheFile) {
    Bytes b = ReadFileBytes(std::string(KWIVO_LNK_CORPUS) + "/ez-misc-local.file.seven.lnk");
    ASSERT_FALSE(b.empty());
    EXPECT_EQ(Parse(b), "C:\\Users\\root\\Desktop\\Fatality.rdp");  // not "C:\Users\"
}

#endif

}  // namespace
