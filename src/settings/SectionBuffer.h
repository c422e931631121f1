#pragma once

class SettingsFile;

// A whole section of the settings file in a heap buffer that grows to fit it,
// so that no entry is lost to a fixed size. The buffer is kept for the next
// section read through the same object.
class SectionBuffer {
public:
    static constexpr int kFirstSize = 4096;
    // A bound on what one section may take: a million characters hold
    // thousands of folders.
    static constexpr int kMaxSize = 1024 * 1024;

    SectionBuffer();
    virtual ~SectionBuffer();

    // Reads the section and returns the cursor for NextEntry. A section that
    // even kMaxSize characters (or the memory to be had) cannot hold loses its
    // last line, which may be cut short: a part of an entry ("Z:\" of a longer
    // folder) would name something else. Without memory the section is empty.
    char* Read(SettingsFile& settings, const char* section);

private:
    int Grow(int newSize);

    char* data;
    int size;
    char empty[2];
};
