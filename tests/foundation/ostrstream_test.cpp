#include <plotvane/ostrstream.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

TEST(OStrStream, GrowsFromEightThousandThenDoubles) {
    vek::ostrstream out;
    EXPECT_EQ(out.tell(), 0);
    EXPECT_EQ(out.capacity(), 0);
    out << "abc";
    EXPECT_EQ(out.capacity(), 8000);
    std::string block(8000, 'x');
    out.write(block.data(), static_cast<int>(block.size()));
    EXPECT_EQ(out.capacity(), 16000);
    std::string huge(50000, 'y');
    out.write(huge.data(), static_cast<int>(huge.size()));
    EXPECT_EQ(out.capacity(), 3 + 8000 + 50000);  // doubling was not enough: exactly what is needed
    EXPECT_EQ(out.tell(), 58003);
    EXPECT_EQ(std::memcmp(out.data(), "abcxx", 5), 0);
}

TEST(OStrStream, NullTerminationIsNotCounted) {
    vek::ostrstream out;
    out << "hello" << ' ' << "world";
    out.ensureNullTerminated();
    EXPECT_EQ(out.tell(), 11);
    EXPECT_STREQ(out.data(), "hello world");
    out << '!';
    out.ensureNullTerminated();
    EXPECT_STREQ(out.data(), "hello world!");

    vek::ostrstream empty;
    empty.ensureNullTerminated();
    ASSERT_NE(empty.data(), nullptr);
    EXPECT_STREQ(empty.data(), "");
}

TEST(OStrStream, RefusedWritesKeepWhatWasWritten) {
    vek::ostrstream out;
    out << "keep";
    out.write("x", -1);
    out.write(nullptr, 0);
    out << static_cast<const char*>(nullptr);
    EXPECT_FALSE(out.ensureSize(-5));
    EXPECT_FALSE(out.ensureSize(0x7fffffff));
    EXPECT_EQ(out.tell(), 4);
    char* owned = out.release();
    EXPECT_EQ(std::memcmp(owned, "keep", 4), 0);
    std::free(owned);
    EXPECT_EQ(out.tell(), 0);
}
