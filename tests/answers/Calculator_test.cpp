#include "answers/Calculator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The result text of an expression, or "none" when it has no value.
std::string Result(const char* expression, const char* separator = ".") {
    Calculator calculator(separator);
    double value = 0;
    if (!calculator.Evaluate(expression, strlen(expression), &value)) return "none";
    char text[Calculator::kResultBytes];
    calculator.Format(value, text);
    return text;
}

TEST(Calculator, ExpressionsAndTheirResults) {
    struct Case {
        const char* expression;
        const char* result;
    };
    const Case cases[] = {
        {"1+2*3", "7"},
        {"(1+2)*3", "9"},
        {" 1 + 2 ", "3"},
        {"10/4", "2.5"},
        {"7%3", "1"},
        {"-7%3", "-1"},
        {"2^3^2", "512"},  // right-associative
        {"2^-1", "0.5"},
        {"-2^2", "-4"},
        {"-(1+2)", "-3"},
        {"3-2-1", "0"},
        {"1-1", "0"},  // no "-0"
        {".5+5.", "5.5"},
        {"0.1+0.2", "0.3"},
        {"1/3", "0.333333333333333"},
        {"2/3*1000000", "666666.666666667"},
        {"10^15", "1e15"},
        {"10^15-1", "999999999999999"},
        {"10^-6", "0.000001"},
        {"10^-7", "1e-7"},
        {"-2^100", "-1.26765060022823e30"},
        // Incomplete, malformed, dividing by zero, overflowing.
        {"", "none"},
        {"1+", "none"},
        {"(1+2", "none"},
        {"1+2)", "none"},
        {"--1", "none"},
        {"2^^2", "none"},
        {"1e999", "none"},
        {"1/0", "none"},
        {"5%0", "none"},
        {"10^400", "none"},
        {"1..2", "none"},
        {"abc", "none"},
        {"1 2", "none"},
        // An overflow on the way has no value, even where a later step
        // would bring it back within range.
        {"1/(10^200*10^200)", "none"},
        {"10^300*10^300/10^300", "none"},
        {"10^308+10^308-10^308", "none"},
        // What a sum cancels to below its operands' 15 digits is nothing.
        {"0.1+0.2-0.3", "0"},
        {"1-0.9-0.1", "0"},
        {"10^-20+10^-20", "2e-20"},  // small operands keep their own digits
        {"1.000+1", "2"},          // the point is a decimal point, never a thousands separator
    };
    for (const Case& c : cases) EXPECT_EQ(Result(c.expression), c.result) << c.expression;
    // The user's decimal separator, in and out; the point always reads.
    EXPECT_EQ(Result("1,5+1", ","), "2,5");
    EXPECT_EQ(Result("1.5+1", ","), "2,5");
    EXPECT_EQ(Result("1\xD9\xAB" "5*2", "\xD9\xAB"), "3");  // the Arabic separator
}

TEST(Calculator, NestingBeyondTheBoundEndsTheParseNotTheStack) {
    std::string deep(Calculator::kMaxDepth + 1, '(');
    deep += "1" + std::string(Calculator::kMaxDepth + 1, ')');
    EXPECT_EQ(Result(deep.c_str()), "none");
    std::string shallow(Calculator::kMaxDepth, '(');
    shallow += "1" + std::string(Calculator::kMaxDepth, ')');
    EXPECT_EQ(Result(shallow.c_str()), "1");
    EXPECT_EQ(Result(std::string(256, '(').c_str()), "none");
    std::string powers = "2";
    for (int i = 0; i < 200; ++i) powers += "^1";
    EXPECT_EQ(Result(powers.c_str()), "none");
}

}  // namespace
