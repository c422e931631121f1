#pragma once

// Folds text for matching with letter case and accents aside ([misc]
// accents=1): "Câmera" and "CAMERA" both become "camera". An interface, so
// that the portable code and its tests can take a mapping of their own.
class TextFold {
public:
    virtual ~TextFold() {}

    // Folds length bytes of WTF-8 into out (size bytes, terminated): the
    // bytes written, or -1 when the text cannot be folded or does not fit.
    virtual int Fold(char* out, int size, const char* text, int length) const = 0;
};
