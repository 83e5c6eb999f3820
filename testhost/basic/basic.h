// The test host's interpreter for the chart programs its users write: a subset of the host's BASIC
// dialect, parsed whole and then run against an ObjectModel. Every fault of a program, in its text
// or while it runs, comes back as "line L, column C: what went wrong".
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

#include "objectmodel.h"

namespace testhost {

// Bounds that keep a hostile program from exhausting the stack, the memory or the clock.
struct Limits {
    std::size_t maxSourceBytes = 1 << 20;
    int maxBlockNesting = 64;           // If, For, While and Try inside one another
    int maxExpressionDepth = 256;       // operators, calls and parentheses inside one another
    std::int64_t maxSteps = 100000000;  // statements and loop rounds executed by one run
    std::size_t maxArrayElements = 16777216;
    std::size_t maxStringBytes = 16 << 20;
};

// Empty when the program parses; otherwise the first fault with its position.
std::string checkSyntax(const std::string& source, const Limits& limits = Limits());

// Parses and runs a program; Print writes to out. Returns the empty string when the program ran to
// its end, otherwise the fault that stopped it (a syntax error, a runtime error or an exception
// no Try caught).
std::string runProgram(const std::string& source, ObjectModel& model, std::ostream& out,
                       const Limits& limits = Limits());

}  // namespace testhost
