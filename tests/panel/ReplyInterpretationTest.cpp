#include "panel/ReplyInterpretation.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

// An exchange that framed `reply`, as a link gives it.
ReplyInterpretation interpretReply(const CameraDescription& description, const std::string& reply) {
    return vistrel::interpretReply(description, LinkResult{static_cast<int>(reply.size()), "Receipt OK", reply});
}

TEST(ReplyInterpretation, AcknowledgeThenErrorNumberElseErrorZero) {
    using namespace std::string_literals;

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
    // Numbers without a slot show the text of error 0, never the "NoError" text.
    description.replyTexts[19] = "Last";
    EXPECT_EQ(interpretReply(description, ">18\r").text, "Last");
    for (const char* unslotted : {">42\r", ">19\r", ">-1\r", "> -7x"}) {
        meaning = interpretReply(description, unslotted);
        EXPECT_TRUE(meaning.errorNumber.has_value()) << unslotted;
        EXPECT_EQ(meaning.text, "Refused") << unslotted;
    }
    // Stray bytes before '>' hide the number.
    EXPECT_EQ(interpretReply(description, "ab>5\r").text, "Refused");
    // A text with a percent sign is data.
    description.replyTexts[0] = "100% done";
    EXPECT_EQ(interpretReply(description, ">OK\r").text, "100% done");
    for (const char* other : {"3\r", ">x\r", ">\r"}) {
        meaning = interpretReply(description, other);
        EXPECT_FALSE(meaning.errorNumber.has_value()) << other;
        EXPECT_EQ(meaning.text, "Refused") << other;
    }
    // Nothing after the terminator counts; an empty acknowledge text is in every framed reply.
    EXPECT_EQ(interpretReply(description, ">1\r\0OK"s).errorNumber, 1);
    description.ackText.clear();
    EXPECT_TRUE(interpretReply(description, ">x\r").acknowledged);
}

} // namespace
} // namespace vistrel
