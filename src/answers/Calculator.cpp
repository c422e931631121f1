#include "answers/Calculator.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "text/Hash.h"
#include "text/TextFormat.h"

namespace {

// The digits a 64-bit integer holds whole: more add nothing a double keeps.
const int kMaxDigits = 19;

// A sum this much smaller than its larger operand is within the 15 digits
// shown of nothing.
const double kCancelled = 1e-15;

// 10 to the n (n >= 0); exact up to 10^22, as a double holds those.
double PowerOfTen(int n) {
    double result = 1;
    double factor = 10;
    for (; n > 0; n >>= 1, factor *= factor) {
        if (n & 1) result *= factor;
    }
    return result;
}

}  // namespace

Calculator::Calculator(const char* decimal) : separatorLength(0), at(nullptr), end(nullptr), depth(0) {
    size_t length = strlen(decimal);
    if (length > 0 && length < sizeof separator) separatorLength = length;
    memcpy(separator, decimal, separatorLength);
    separator[separatorLength] = '\0';
}

Calculator::~Calculator() {}

void Calculator::SkipBlanks() {
    while (at < end && *at == ' ') ++at;
}

int Calculator::Take(char c) {
    SkipBlanks();
    if (at < end && *at == c) {
        ++at;
        return 1;
    }
    return 0;
}

int Calculator::Evaluate(const char* text, size_t length, double* value) {
    at = text;
    end = text + length;
    depth = 0;
    double result = 0;
    if (!Sum(&result)) return 0;
    SkipBlanks();
    if (at != end || !std::isfinite(result)) return 0;
    *value = result == 0 ? 0 : result;  // no "-0"
    return 1;
}

int Calculator::Sum(double* value) {
    if (!Product(value)) return 0;
    for (;;) {
        int plus = Take('+');
        if (!plus && !Take('-')) return 1;
        double right;
        if (!Product(&right)) return 0;
        double left = *value;
        *value = plus ? left + right : left - right;
        // What a sum cancels to below the operands' 15 digits is the
        // rounding of their binary forms (0.1 + 0.2 - 0.3): none.
        if (std::fabs(*value) < std::fmax(std::fabs(left), std::fabs(right)) * kCancelled) *value = 0;
        if (!std::isfinite(*value)) return 0;
    }
}

int Calculator::Product(double* value) {
    if (!Signed(value)) return 0;
    for (;;) {
        char op = Take('*') ? '*' : Take('/') ? '/' : Take('%') ? '%' : 0;
        if (!op) return 1;
        double right;
        if (!Signed(&right)) return 0;
        if (op != '*' && right == 0) return 0;  // no division by zero
        *value = op == '*' ? *value * right : op == '/' ? *value / right : std::fmod(*value, right);
        // A step that overflows has no value, whatever follows it.
        if (!std::isfinite(*value)) return 0;
    }
}

int Calculator::Signed(double* value) {
    int negative = Take('-');
    if (!Power(value)) return 0;
    if (negative) *value = -*value;
    return 1;
}

int Calculator::Power(double* value) {
    if (!Primary(value)) return 0;
    if (!Take('^')) return 1;
    // Right-associative, and the exponent may be negative: 2^-1.
    if (++depth > kMaxDepth) return 0;
    double exponent;
    int ok = Signed(&exponent);
    --depth;
    if (!ok) return 0;
    *value = std::pow(*value, exponent);
    return std::isfinite(*value);
}

int Calculator::Primary(double* value) {
    if (!Take('(')) return Number(value);
    if (++depth > kMaxDepth) return 0;
    int ok = Sum(value) && Take(')');
    --depth;
    return ok;
}

int Calculator::Number(double* value) {
    SkipBlanks();
    // The first kMaxDigits significant digits as an integer and a power of
    // ten: one rounding when they become a double, as the C library's
    // reader would do for such numbers, without linking it.
    unsigned long long digits = 0;
    int kept = 0;
    int scale = 0;
    int point = 0;
    int any = 0;
    while (at < end) {
        if (IsDigit(*at)) {
            if (kept < kMaxDigits) {
                digits = digits * 10 + static_cast<unsigned>(*at - '0');
                kept += digits != 0;  // leading zeros take no place
                scale -= point;
            } else {
                scale += !point;
            }
            ++at;
            any = 1;
        } else if (!point && (*at == '.' || (separatorLength > 0 && static_cast<size_t>(end - at) >= separatorLength &&
                                              memcmp(at, separator, separatorLength) == 0))) {
            at += *at == '.' ? 1 : separatorLength;
            point = 1;
        } else {
            break;
        }
    }
    if (!any) return 0;
    double number = static_cast<double>(digits);
    *value = scale < 0 ? number / PowerOfTen(-scale) : number * PowerOfTen(scale);
    return std::isfinite(*value);
}

int Calculator::Format(double value, char (&out)[kResultBytes]) const {
    char text[kResultBytes + 16];
    double size = std::fabs(value);
    if (value == 0 || (size >= 1e-6 && size < 1e15)) {
        // As many decimals as leave 15 significant digits, trailing zeros
        // dropped.
        int whole = 1;  // digits before the point
        for (double limit = 10; size >= limit && whole < 15; limit *= 10) ++whole;
        for (double limit = 1; value != 0 && size < limit && whole > -6; limit /= 10) --whole;
        int decimals = 15 - whole;
        if (decimals < 0) decimals = 0;
        FormatText(text, sizeof text, "%.*f", decimals, value);
        char* dot = strchr(text, '.');
        if (dot) {
            char* last = text + strlen(text) - 1;
            while (last > dot && *last == '0') *last-- = '\0';
            if (last == dot) *dot = '\0';
        }
    } else {
        // The mantissa without trailing zeros, the exponent without its sign
        // when positive and without leading zeros, whatever the runtime's
        // own form ("e+020" or "e+20").
        char raw[kResultBytes + 16];
        FormatText(raw, sizeof raw, "%.14e", value);
        char* e = strchr(raw, 'e');
        if (!e) return 0;
        *e = '\0';
        char* last = e - 1;
        while (*last == '0') *last-- = '\0';
        if (*last == '.') *last = '\0';
        int exponent = atoi(e + 1);
        FormatText(text, sizeof text, "%se%d", raw, exponent);
    }
    // The user's separator in place of the point.
    size_t n = 0;
    for (const char* p = text; *p; ++p) {
        const char* piece = *p == '.' && separatorLength ? separator : p;
        size_t length = *p == '.' && separatorLength ? separatorLength : 1;
        if (n + length >= sizeof out) {
            out[0] = '\0';
            return 0;
        }
        memcpy(out + n, piece, length);
        n += length;
    }
    out[n] = '\0';
    return static_cast<int>(n);
}
