#pragma once

#include <cstddef>

// Arithmetic typed into the strip ([misc] calc=1), after "=": decimal
// numbers, + - * / % (remainder) ^ (power, right-associative), parentheses,
// one unary minus before a number or a parenthesis, blanks between any of
// them. Double precision; a sum that cancels below the 15 digits of its
// operands is 0 (0.1 + 0.2 - 0.3). The point is always a decimal point,
// and so is the user's separator where that is another (a comma);
// thousands separators are not read ("1.000" is one). Plain C++, so it also
// builds natively.
class Calculator {
public:
    // Parentheses and powers nest at most this deep: a long run of "(" ends
    // the parse, never the stack.
    static constexpr int kMaxDepth = 64;
    // The longest result text: "-1.23456789012345e-300" and its terminator.
    static constexpr int kResultBytes = 32;

    // separator: the user's decimal separator (WTF-8, "." or another of at
    // most 4 bytes); the point is always one too.
    explicit Calculator(const char* separator);
    virtual ~Calculator();

    // Evaluates the length bytes of text (the expression, without its "=");
    // 1 with the value when the whole text is one complete expression whose
    // value and every step towards it are finite, 0 when it is incomplete or
    // malformed, divides by zero or overflows on the way.
    int Evaluate(const char* text, size_t length, double* value);
    // The value written with up to 15 significant digits and the separator,
    // without an exponent from 1e-6 up to 1e15, with one outside. The bytes
    // written.
    int Format(double value, char (&out)[kResultBytes]) const;

private:
    int Sum(double* value);
    int Product(double* value);
    int Signed(double* value);
    int Power(double* value);
    int Primary(double* value);
    int Number(double* value);
    void SkipBlanks();
    int Take(char c);

    char separator[5];
    size_t separatorLength;
    const char* at;
    const char* end;
    int depth;
};
