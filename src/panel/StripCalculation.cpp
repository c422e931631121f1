// "=" and an expression, with calc=1: its value as the completion, and on
// the clipboard at Enter.
#include "app/LauncherWindow.h"
#include "answers/Calculator.h"
#include "text/TextFormat.h"

namespace {

// Between the expression and its value.
const char kResultSeparator[] = " = ";

}  // namespace

void LauncherWindow::ShowResult() {
    Calculator calculator(decimalSeparator);
    double value;
    char result[Calculator::kResultBytes];
    if (!calculator.Evaluate(input.text + 1, static_cast<size_t>(input.length - 1), &value) ||
        calculator.Format(value, result) <= 0 ||
        FormatText(completionPath, sizeof completionPath, "%s%s", kResultSeparator, result) < 0) {
        return;
    }
    completion = completionPath;
    current.kind = Answer::kValue;
    current.name = completion + sizeof kResultSeparator - 1;  // the value alone
    answers.ForOne(current);
}

int LauncherWindow::CopyResult() {
    if (!completion || current.kind != Answer::kValue) return 0;
    return CopyText(current.name);
}
