#include "tools/vistrelctl/ReplyText.h"

#include <gtest/gtest.h>

namespace vistrel::ctl {
namespace {

TEST(EscapedBytes, ControlBytesAndNonAsciiAreSpelledOut) {
    using namespace std::string_literals;
    EXPECT_EQ(escapedBytes("ab>OK\r"), "ab>OK\\r");
    EXPECT_EQ(escapedBytes("\n\t\\\x01\x7f\xe9"s), "\\n\\t\\\\\\x01\\x7f\\xe9");
    EXPECT_EQ(escapedBytes("a\0b"s), "a\\x00b");
}

} // namespace
} // namespace vistrel::ctl
