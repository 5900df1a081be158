#pragma once

#include <vector>

// The 38 lines of the recapitulative table, as data: each line's code and rate, and which annex rows count
// on it with the column added to its base and the one added to its withholding. A row may count on several
// lines; its withholding is then added on each of them.
namespace recap {

enum class Test {
    Positive,       // column > 0 (an empty amount counts as 0)
    NonNegative,    // column >= 0
    Negative,       // column < 0
    EitherPositive, // column > 0 or `value` (a second column) > 0
    Is,             // the stored text equals `value` exactly
    IsNot,          // the stored text differs from `value`
    WholeBelow,     // the text read as a whole number is below `value`
    WholeIn,        // the text read as a whole number is one of the comma-separated `value`
};

struct Condition {
    Test test;
    const char *column;
    const char *value = nullptr;
};

struct Source {
    int annex;                         // 1 to 6; Annex VII takes no part
    std::vector<Condition> conditions; // all must hold, tested in order
    std::vector<const char *> base;    // summed into the base
    const char *withholding;
};

struct Line {
    int ordre;
    const char *code; // ZONE1
    const char *rate; // ZONE3, a constant of the line
    bool blankBase;   // ZONE2 written as 15 blanks (the base is summed all the same)
    std::vector<Source> sources;
    bool total = false; // line 999: the sum of the withholdings of every other line
};

const std::vector<Line> &lines();

} // namespace recap
