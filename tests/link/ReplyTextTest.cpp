#include "tools/vistrelctl/ReplyText.h"

#include <gtest/gtest.h>

namespace vistrel::ctl {
namespace {

TEST(ReplyText, EscapesControlBytesAndInterpretsLikeTheStatusLine) {
    using namespace std::string_literals;
    EXPECT_EQ(escapedBytes("ab>OK\r"), "ab>OK\\r");
    EXPECT_EQ(escapedBytes("\n\t\\\x01\x7f\xe9"s), "\\n\\t\\\\\\x01\\x7F\\xE9");
    EXPECT_EQ(escapedBytes("a\0b"s), "a\\x00b");

    CameraDescription description;
    description.ackText = "OK";
    description.replyTexts[0] = "Done";
    description.replyTexts[1] = "Refused";
    description.replyTexts[4] = "Locked";

    ReplyInterpretation meaning = interpretReply(description, "xx>OK\r");
    EXPECT_TRUE(meaning.acknowledged);
    EXPECT_EQ(meaning.text, "Done");
    meaning = interpretReply(description, ">  3\r");
    EXPECT_FALSE(meaning.acknowledged);
    EXPECT_EQ(meaning.errorNumber, 3);
    EXPECT_EQ(meaning.text, "Locked");
    meaning = interpretReply(description, ">42\r"); // no slot for it
    EXPECT_EQ(meaning.errorNumber, 42);
    EXPECT_EQ(meaning.text, "");
    for (const char* other : {"", "3\r", ">x\r", ">\r"}) {
        meaning = interpretReply(description, other);
        EXPECT_FALSE(meaning.errorNumber.has_value()) << other;
        EXPECT_EQ(meaning.text, "Refused") << other;
    }
    // Nothing after the terminator counts; an empty acknowledge text is in every reply.
    EXPECT_EQ(interpretReply(description, ">1\r\0OK"s).errorNumber, 1);
    description.ackText.clear();
    EXPECT_TRUE(interpretReply(description, "").acknowledged);
}

} // namespace
} // namespace vistrel::ctl
