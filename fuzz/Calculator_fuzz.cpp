// libFuzzer target: any bytes as an expression, with a separator of its own.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "answers/Calculator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The text lies at the end of its own buffer, so that a read past it is
    // caught; the first byte, when there is one, is the separator.
    char separator[2] = {size > 0 ? static_cast<char>(data[0] | 1) : '.', '\0'};
    char* text = static_cast<char*>(malloc(size ? size : 1));
    if (!text) return 0;
    if (size) memcpy(text, data, size);
    Calculator calculator(separator);
    double value = 0;
    if (calculator.Evaluate(text, size, &value)) {
        if (!std::isfinite(value)) abort();
        char out[Calculator::kResultBytes];
        if (calculator.Format(value, out) <= 0 || strlen(out) >= sizeof out) abort();
    }
    free(text);
    return 0;
}
