#include <plotvane/arrays.h>

#include <gtest/gtest.h>

#include <array>
#include <list>
#include <string>
#include <type_traits>
#include <vector>

using namespace plotvane;

namespace {

double sum(DoubleArray a) {
    double s = 0;
    for (double v : a) s += v;
    return s;
}

std::string joined(StringArray a) {
    std::string s;
    for (const char* p : a) s += p;
    return s;
}

}  // namespace

TEST(ArrayViews, LookAtStandardContainersWithoutCopying) {
    std::vector<double> v = {1, 2, 3.5};
    DoubleArray view = v;
    EXPECT_EQ(view.data, v.data());
    EXPECT_EQ(view.len, 3);
    EXPECT_EQ(sum(v), 6.5);
    std::array<int, 4> a = {4, 5, 6, 7};
    IntArray ints(a);
    EXPECT_EQ(ints.data, a.data());
    EXPECT_EQ(ints.len, 4);
    const double c[] = {1, 1};
    EXPECT_EQ(DoubleArray(c).len, 2);
    EXPECT_EQ(sum({0.5, 0.25}), 0.75);
    std::vector<double> none;
    EXPECT_EQ(sum(none), 0);
    EXPECT_EQ(joined({"a", "b", "c"}), "abc");
    // A temporary container would be gone before the view is read.
    static_assert(!std::is_constructible_v<DoubleArray, std::vector<double>&&>);
    static_assert(std::is_constructible_v<DoubleArray, std::vector<double>&>);
    static_assert(!std::is_constructible_v<DoubleArray, std::vector<int>&>);
    static_assert(!std::is_constructible_v<StringArray, std::vector<std::string>&>);
}

TEST(ArrayViews, StringListKeepsThePointersOfStdStrings) {
    std::list<std::string> names = {"alpha", "", "gamma"};
    StringList list(names);
    StringArray view = list;
    ASSERT_EQ(view.len, 3);
    EXPECT_EQ(view[0], names.front().c_str());
    EXPECT_EQ(joined(list), "alphagamma");
    EXPECT_EQ(StringArray(StringList(std::vector<std::string>())).len, 0);
}
