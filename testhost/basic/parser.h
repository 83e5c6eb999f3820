// Recursive-descent parser from tokens to statements. It checks the shape of the program only;
// names and types are the interpreter's business.
#pragma once

#include <string>

#include "basic.h"
#include "syntax.h"

namespace testhost {

// Fills program and returns true, or sets fault and returns false.
bool parseProgram(const std::string& source, const Limits& limits, Block& program, Fault& fault);

}  // namespace testhost
