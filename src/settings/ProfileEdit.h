#pragma once

#include <cstddef>

// One key of a settings file set in its text, every other unit left as it
// was: comments with a NUL in them, a line that ends in a lone CR, blanks
// and letter case. The platform's profile writer rewrites the whole file
// instead, and loses such bytes. Works on 16-bit units: a UTF-16 file's
// own, or an ANSI file's bytes one to a unit. Plain C++, so it also builds
// natively.
//
// Lines end at CR LF, LF or a lone CR, as the profile reader splits them. A
// section is a line whose first character after blanks is "["; a key is
// what comes before a line's last "=", blanks around it aside, compared
// with ASCII letter case aside. The first such key of the first such
// section gets the value; a missing key is added after the section's last
// line that is not blank, and a missing section at the end, each line
// ending in CR LF.

typedef unsigned short ProfileUnit;

// The units out needs at most: the text and a new section with its key.
size_t ProfileEditSize(size_t length, size_t sectionLength, size_t keyLength, size_t valueLength);
// Writes the text with key=value set in [section] into out (room for
// ProfileEditSize units); the units written. section, key and value are
// terminated with 0.
size_t SetProfileKey(const ProfileUnit* text, size_t length, const ProfileUnit* section, const ProfileUnit* key,
                     const ProfileUnit* value, ProfileUnit* out);
