#ifndef PLOTVANE_TESTS_GOLDEN_H
#define PLOTVANE_TESTS_GOLDEN_H

#include <gtest/gtest.h>

#include <string>

namespace plotvane_test {

// Absolute path of a file under tests/.
std::string testPath(const std::string& relative);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// Compares text with tests/golden/<area>/<name> byte for byte. With PLOTVANE_UPDATE_GOLDEN=1 in the
// environment the golden file is written instead, for reviewing in the diff.
::testing::AssertionResult matchesGoldenText(const std::string& area, const std::string& name,
                                             const std::string& actual);

// Compares a PNG with tests/golden/<area>/<name> pixel by pixel (decoded with libpng): sizes must be
// equal and no channel may differ by more than maxChannelDifference. PLOTVANE_UPDATE_GOLDEN=1
// writes the golden file instead.
::testing::AssertionResult matchesGoldenPNG(const std::string& area, const std::string& name, const std::string& png,
                                            int maxChannelDifference);

}  // namespace plotvane_test

#endif
