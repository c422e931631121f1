#pragma once

#include <cstddef>

#include "catalogue/PathText.h"

// Shell link files larger than this are not read: real ones are a few
// kilobytes, and a huge file named .lnk must not make a scan read gigabytes.
const size_t kMaxShortcutBytes = 1024 * 1024;

// The target path that the bytes of a shell link file name: the local base
// path of its LinkInfo (reached by stepping over the LinkInfo header and the
// VolumeID), joined with the common path suffix when the target lies in a
// shared folder. 1 with the path in target; 0 when the bytes are no link with
// a LinkInfo, the path is empty, or it would not fit in 259 characters (a cut
// path would name another file). Every read is checked against length.
int ParseShortcutTarget(const unsigned char* data, size_t length, char (&target)[kPathSize]);
