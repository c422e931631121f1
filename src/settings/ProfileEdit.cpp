#include "settings/ProfileEdit.h"

#include <cstring>

namespace {

size_t Length(const ProfileUnit* text) {
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

int IsBlank(ProfileUnit c) {
    return c == ' ' || c == '\t';
}

ProfileUnit Fold(ProfileUnit c) {
    return c >= 'A' && c <= 'Z' ? static_cast<ProfileUnit>(c - 'A' + 'a') : c;
}

// The units from..to, blanks around them aside, equal to the name.
int SameName(const ProfileUnit* text, size_t from, size_t to, const ProfileUnit* name) {
    while (from < to && IsBlank(text[from])) ++from;
    while (to > from && IsBlank(text[to - 1])) --to;
    size_t n = Length(name);
    if (to - from != n) return 0;
    for (size_t i = 0; i < n; ++i) {
        if (Fold(text[from + i]) != Fold(name[i])) return 0;
    }
    return 1;
}

// Appends units to out at *used.
void Put(ProfileUnit* out, size_t* used, const ProfileUnit* units, size_t count) {
    if (count == 0) return;  // an empty text may have no buffer at all
    memcpy(out + *used, units, count * sizeof *units);
    *used += count;
}

void PutLineBreak(ProfileUnit* out, size_t* used) {
    const ProfileUnit lineBreak[2] = {'\r', '\n'};
    Put(out, used, lineBreak, 2);
}

void PutKey(ProfileUnit* out, size_t* used, const ProfileUnit* key, const ProfileUnit* value) {
    const ProfileUnit equals = '=';
    Put(out, used, key, Length(key));
    Put(out, used, &equals, 1);
    Put(out, used, value, Length(value));
    PutLineBreak(out, used);
}

}  // namespace

size_t ProfileEditSize(size_t length, size_t sectionLength, size_t keyLength, size_t valueLength) {
    // A line break before, "[section]" and its break, "key=value" and its.
    return length + 2 + sectionLength + 4 + keyLength + 1 + valueLength + 2;
}

size_t SetProfileKey(const ProfileUnit* text, size_t length, const ProfileUnit* section, const ProfileUnit* key,
                     const ProfileUnit* value, ProfileUnit* out) {
    const size_t kNone = static_cast<size_t>(-1);
    size_t insertAt = kNone;  // after the last line of the section that is not blank
    int inSection = 0;
    for (size_t at = 0; at < length;) {
        size_t end = at;
        while (end < length && text[end] != '\r' && text[end] != '\n') ++end;
        size_t next = end;
        if (next < length) next += text[next] == '\r' && next + 1 < length && text[next + 1] == '\n' ? 2 : 1;
        size_t first = at;
        while (first < end && IsBlank(text[first])) ++first;
        if (first < end && text[first] == '[') {
            if (inSection) break;
            size_t close = first + 1;
            while (close < end && text[close] != ']') ++close;
            inSection = SameName(text, first + 1, close, section);
            if (inSection) insertAt = next;
        } else if (inSection && first < end) {
            size_t equals = kNone;
            for (size_t i = first; i < end; ++i) {
                if (text[i] == '=') equals = i;
            }
            if (text[first] != ';' && equals != kNone && SameName(text, first, equals, key)) {
                // The value alone changes; the line keeps its key and its end.
                size_t used = 0;
                Put(out, &used, text, equals + 1);
                Put(out, &used, value, Length(value));
                Put(out, &used, text + end, length - end);
                return used;
            }
            insertAt = next;
        }
        at = next;
    }
    size_t used = 0;
    size_t before = insertAt == kNone ? length : insertAt;
    Put(out, &used, text, before);
    // A last line without its break gets one before what follows it.
    if (before > 0 && text[before - 1] != '\n' && text[before - 1] != '\r') PutLineBreak(out, &used);
    if (insertAt == kNone) {
        const ProfileUnit open = '[';
        const ProfileUnit close = ']';
        Put(out, &used, &open, 1);
        Put(out, &used, section, Length(section));
        Put(out, &used, &close, 1);
        PutLineBreak(out, &used);
    }
    PutKey(out, &used, key, value);
    Put(out, &used, text + before, length - before);
    return used;
}
