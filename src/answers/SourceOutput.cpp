#include "answers/SourceOutput.h"

#include <cstdlib>
#include <cstring>

#include "text/Wtf8.h"

namespace {

// Writes length bytes of UTF-8 as valid UTF-8: a byte that starts no
// character (a surrogate's encoding among them) or a NUL becomes U+FFFD. A
// text that does not fit is cut at a character's start when cut is 1, else
// refused (0; out then empty).
int CleanUtf8(char (&out)[kPathBytes], const char* text, int length, int cut) {
    static const char kReplacement[] = "\xEF\xBF\xBD";
    int at = 0;
    for (int i = 0; i < length;) {
        unsigned int codePoint = 0;
        int n = DecodeWtf8(text + i, static_cast<size_t>(length - i), &codePoint);
        const char* bytes = text + i;
        int size = n;
        if (codePoint == 0 || (codePoint >= 0xD800 && codePoint <= 0xDFFF) ||
            (n == 1 && static_cast<unsigned char>(text[i]) >= 0x80)) {
            bytes = kReplacement;
            size = 3;
        }
        if (at + size >= kPathBytes) {
            if (!cut) at = 0;
            out[at] = '\0';
            return cut;
        }
        memcpy(out + at, bytes, static_cast<size_t>(size));
        at += size;
        i += n;
    }
    out[at] = '\0';
    return 1;
}

}  // namespace

SourceOutput::SourceOutput() : raw(nullptr), bounds(nullptr), used(0), parsed(0), lines(0), ended(0) {}

SourceOutput::~SourceOutput() {
    Clear();
}

void SourceOutput::Clear() {
    free(raw);
    raw = nullptr;
    bounds = nullptr;
    used = 0;
    parsed = 0;
    lines = 0;
    ended = 0;
}

void SourceOutput::Forget() {
    lines = 0;
    parsed = used;
    ended = 1;
}

int SourceOutput::Full() const {
    return used == kMaxBytes || lines == kMaxLines;
}

char* SourceOutput::Space(int* room) {
    *room = 0;
    if (ended || Full()) return nullptr;
    if (!raw) {
        // One block: the bytes, then two bounds for each answer.
        raw = static_cast<char*>(malloc(kMaxBytes + 2 * kMaxLines * sizeof(int)));
        if (!raw) return nullptr;
        bounds = reinterpret_cast<int*>(raw + kMaxBytes);
    }
    *room = kMaxBytes - used;
    return raw + used;
}

void SourceOutput::Wrote(int bytes) {
    if (!raw || bytes <= 0 || bytes > kMaxBytes - used) return;
    int from = used;
    used += bytes;
    for (int i = from; i < used && lines < kMaxLines; ++i) {
        if (raw[i] != '\n') continue;
        TakeLine(parsed, i);
        parsed = i + 1;
    }
}

void SourceOutput::End() {
    if (raw && !Full() && parsed < used) TakeLine(parsed, used);
    parsed = used;
    ended = 1;
}

void SourceOutput::TakeLine(int from, int to) {
    if (to > from && raw[to - 1] == '\r') --to;
    // The mark that some programs (PowerShell's UTF-8) print first.
    if (from == 0 && to >= 3 && memcmp(raw, "\xEF\xBB\xBF", 3) == 0) from = 3;
    // A line without a target (an empty one, a title and a tab) is none.
    const char* tab = static_cast<const char*>(memchr(raw + from, '\t', static_cast<size_t>(to - from)));
    if (from == to || (tab && (tab + 1 == raw + to || tab[1] == '\t'))) return;
    bounds[2 * lines] = from;
    bounds[2 * lines + 1] = to;
    ++lines;
}

int SourceOutput::Field(int index, int field, char (&out)[kPathBytes]) const {
    out[0] = '\0';
    if (index < 0 || index >= lines) return 0;
    const char* start = raw + bounds[2 * index];
    const char* end = raw + bounds[2 * index + 1];
    const char* tab = static_cast<const char*>(memchr(start, '\t', static_cast<size_t>(end - start)));
    const char* second = tab ? static_cast<const char*>(memchr(tab + 1, '\t', static_cast<size_t>(end - tab - 1)))
                             : nullptr;
    // A line without a tab is its own title and target; where it leads is
    // all after a second tab.
    const char* from = start;
    const char* to = end;
    if (field == kTitle && tab && tab > start) {
        to = tab;
    } else if (field == kTitle || field == kTarget) {
        // A title left empty ("\ttarget") is the target.
        if (tab) from = tab + 1;
        if (second) to = second;
    } else if (second) {
        from = second + 1;
    } else {
        return 0;
    }
    return CleanUtf8(out, from, static_cast<int>(to - from), field != kTarget);
}
