#pragma once

#include "text/TextFold.h"

// The system's own mapping: accents through its decomposition tables,
// letter case through its lowercasing of every script.
class SystemTextFold : public TextFold {
public:
    int Fold(char* out, int size, const char* text, int length) const override;
};
