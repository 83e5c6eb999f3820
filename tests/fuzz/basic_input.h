#ifndef PLOTVANE_TESTS_FUZZ_BASIC_INPUT_H
#define PLOTVANE_TESTS_FUZZ_BASIC_INPUT_H

// One fuzz input as a program of the test host's interpreter: checked, then run under small limits
// so that loops end quickly. Shared by the libFuzzer target and the test that replays the seeds.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "basic.h"

namespace plotvane_fuzz {

// False when the outcome breaks the interpreter's promises.
inline bool runBasicInput(const uint8_t* data, size_t size, testhost::ObjectModel& model) {
    std::string source(reinterpret_cast<const char*>(data), size);
    testhost::Limits limits;
    limits.maxSteps = 10000;
    limits.maxArrayElements = 10000;
    limits.maxStringBytes = 1 << 16;
    std::string syntax = testhost::checkSyntax(source, limits);
    std::ostringstream out;
    std::string outcome = testhost::runProgram(source, model, out, limits);
    // A program that parses may still fail as it runs; one that does not parse never runs.
    if (!syntax.empty() && outcome != syntax) return false;
    return outcome.empty() || outcome.rfind("line ", 0) == 0;
}

}  // namespace plotvane_fuzz

#endif
