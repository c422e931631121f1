#pragma once

class Catalogue;

// The documents the user opened lately ([misc] recent=1): the shortcuts of
// the user's Recent folder, each named by its target's file name and opened
// by the shell, only while the target is there; added oldest first, so
// that of two of one name the newer is met first. Folders, and targets that
// [skip] leaves out, are not added. At most kMaxRecent, the newest.
const int kMaxRecent = 256;
void AddRecentDocuments(Catalogue& catalogue, const char* folder);
