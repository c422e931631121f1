#pragma once

#include <cstddef>

#include "text/PathText.h"

// Shell link files larger than this are not read: real ones are a few
// kilobytes, and a huge file named .lnk must not make a scan read gigabytes.
const size_t kMaxShortcutBytes = 1024 * 1024;

// What ParseShortcutTarget found: the target in the ANSI code page, as the
// link's ANSI fields hold it (the caller converts it), or from its Unicode
// fields, in WTF-8.
const int kShortcutAnsi = 1;
const int kShortcutUnicode = 2;

// The target path that the bytes of a shell link file name. From the
// LinkInfo's Unicode fields when the link has them (the local base path, or
// the share's name of a network link, then the common path suffix); else
// the local base path of its LinkInfo (reached by stepping over the LinkInfo
// header and the VolumeID), joined with the common path suffix when the
// target lies in a shared folder. kShortcutAnsi or kShortcutUnicode with the
// path in target; 0 when the bytes are no link with a LinkInfo, the path is
// empty, or it would not fit in 259 UTF-16 units (a cut path would name
// another file). Every read is checked against length; an offset that
// points into a header or outside the file counts as absent.
int ParseShortcutTarget(const unsigned char* data, size_t length, char (&target)[kPathBytes]);
