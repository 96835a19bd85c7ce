#include "camera/CamFileLoader.h"
#include "camera/CamFileDescribe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace vistrel {
namespace {

// Records the keys asked for, in order.
class KeyLog : public LoadObserver {
public:
    void lookedUp(std::string_view section, std::string_view key, const CamKeyLookup& /*lookup*/) override {
        keys.push_back(std::string(section) + "/" + std::string(key));
    }
    std::vector<std::string> keys;
};

CamFileKeys keysOf(const std::string& path, LoadObserver* observer = nullptr) {
    std::optional<CamFileKeys> keys = CamFileKeys::open(path, observer);
    EXPECT_TRUE(keys.has_value()) << path;
    return keys ? std::move(*keys) : CamFileKeys(CamFileSnapshot{}, observer);
}

constexpr const char* kWorkedExample = R"([Special Cmd]
CameraIdent=!=0
CameraConf=!=3

[Receive message]
String=OK
NoError=Command accepted
Error0=Command refused
Error1=Invalid command
Error2=Value out of range

[WaitBetweenChar]
MilliSec=20

[ComboBox1]
Title=Gain
Character=G
Value1=0
Text1=Low
Value2=1
Text2=High

[Check1]
Title=Test pattern
Character=T
Value1=0
Value2=1

[ListBox1]
Title=Exposure
Character=E
Value1=100
Value2=200
)";

TEST(CamFileLoader, WorkedExample) {
    test::TempDir dir;
    KeyLog log;
    const auto described = describeCamFile(dir.write("example.cam", kWorkedExample), &log);
    ASSERT_TRUE(described.has_value());
    const CameraDescription& d = described->description;
    EXPECT_EQ(d.identCommand, "!=0");
    EXPECT_EQ(d.configCommand, "!=3");
    EXPECT_EQ(d.factoryCommand, "!=4");
    EXPECT_EQ(d.ackText, "OK");
    EXPECT_EQ(d.replyTexts[0], "Command accepted");
    EXPECT_EQ(d.replyTexts[1], "Command refused");
    EXPECT_EQ(d.replyTexts[2], "Invalid command");
    EXPECT_EQ(d.replyTexts[3], "Value out of range");
    EXPECT_EQ(d.replyTexts[4], "");
    EXPECT_EQ(d.CharDelayMs, 20);
    EXPECT_EQ(described->combos[0].title, "Gain");
    EXPECT_EQ(d.combos[0].character, "G");
    EXPECT_EQ(described->combos[0].texts, (std::vector<std::string>{"Low", "High"}));
    EXPECT_EQ(d.combos[0].values[0], "0");
    EXPECT_EQ(d.combos[0].values[1], "1");
    EXPECT_EQ(described->checks[0].title, "Test pattern");
    EXPECT_EQ(d.checks[0].character, "T");
    EXPECT_EQ(d.checks[0].value1, "0");
    EXPECT_EQ(d.checks[0].value2, "1");
    EXPECT_EQ(described->lists[0].title, "Exposure");
    EXPECT_EQ(d.lists[0].character, "E");
    EXPECT_EQ(described->lists[0].entries, (std::vector<std::string>{"100", "200"}));
    for (int i = 1; i < kComboCount; ++i) {
        EXPECT_TRUE(d.combos[static_cast<std::size_t>(i)].character.empty());
        EXPECT_TRUE(described->combos[static_cast<std::size_t>(i)].texts.empty());
    }
    EXPECT_TRUE(d.checks[3].character.empty());
    EXPECT_TRUE(described->lists[4].entries.empty());

    // The loading order, one lookup per key, one more for the number that ends each series.
    const std::vector<std::string> head(log.keys.begin(), log.keys.begin() + 17);
    EXPECT_EQ(head, (std::vector<std::string>{
                        "Special Cmd/CameraIdent", "Special Cmd/CameraConf", "Special Cmd/CameraDefault",
                        "Receive message/String", "Receive message/NoError", "Receive message/Error0",
                        "Receive message/Error1", "Receive message/Error2", "Receive message/Error3",
                        "WaitBetweenChar/MilliSec", "ComboBox1/Title", "ComboBox1/Character", "ComboBox1/Value1",
                        "ComboBox1/Text1", "ComboBox1/Value2", "ComboBox1/Text2", "ComboBox1/Value3"}));
    EXPECT_EQ(log.keys[17], "ComboBox1/Text3");
    EXPECT_EQ(log.keys.back(), "ListBox5/Character");
    // 10 general, 6 + 2 for ComboBox1, 2 for each other combo, 4 + 2 + 2 + 2 for checks,
    // 2 + 3 for ListBox1 and 2 for each other list.
    EXPECT_EQ(log.keys.size(), 10U + 8U + 14U + 10U + 5U + 8U);
}

TEST(CamFileLoader, Numbering) {
    test::TempDir dir;
    CameraDescription d;
    // Error2 missing: slots 1 and 2 filled, Error3 never read.
    KeyLog log;
    CamFileKeys gaps = keysOf(dir.write("gaps.cam", "[Receive message]\nError0=a\nError1=b\nError3=d\n"), &log);
    loadReplyTexts(d, gaps);
    EXPECT_EQ(d.replyTexts[1], "a");
    EXPECT_EQ(d.replyTexts[2], "b");
    EXPECT_EQ(d.replyTexts[4], "");
    EXPECT_EQ(log.keys.back(), "Receive message/Error2");

    // Text1 to Text31: 29 entries shown, Value1 to Value29 read, slot 29 never filled.
    std::string combo = "[ComboBox2]\nCharacter=C\n";
    for (int n = 1; n <= 31; ++n) {
        combo += "V" + std::to_string(n) + "=x\n"; // keeps Value n from matching Value1n
    }
    std::string entries;
    for (int n = 31; n >= 1; --n) {
        entries += "Value" + std::to_string(n) + "=v" + std::to_string(n) + "\nText" + std::to_string(n) + "=t" +
                   std::to_string(n) + "\n";
    }
    CamFileKeys many = keysOf(dir.write("many.cam", combo + entries));
    const ComboLoad load = loadCombo(d, 1, many);
    ASSERT_EQ(load.texts.size(), 29U);
    EXPECT_EQ(d.combos[1].values[28], "v29");
    EXPECT_EQ(d.combos[1].values[29], "");

    // A Value without a Text is stored, never shown; a Text without a Value keeps the old slot.
    d.combos[2].values[0] = "old";
    CamFileKeys uneven =
        keysOf(dir.write("uneven.cam", "[ComboBox3]\nCharacter=U\nText1=one\nValue2=2\nText3=three\n"));
    const ComboLoad third = loadCombo(d, 2, uneven);
    EXPECT_EQ(third.texts, std::vector<std::string>{"one"});
    EXPECT_EQ(d.combos[2].values[0], "old");
    EXPECT_EQ(d.combos[2].values[1], "2");

    // Lists have no upper bound and stop at the first missing number.
    std::string list = "[ListBox2]\nCharacter=L\n";
    for (int n = 40; n >= 1; --n) {
        list += "Value" + std::to_string(n) + "=" + std::to_string(n) + "\n";
    }
    CamFileKeys longList = keysOf(dir.write("list.cam", list + "[ListBox3]\nCharacter=M\nValue1=1\nValue3=3\n"));
    EXPECT_EQ(loadList(d, 1, longList).entries.size(), 40U);
    EXPECT_EQ(loadList(d, 2, longList).entries, std::vector<std::string>{"1"});
}

TEST(CamFileLoader, DefaultsAndCharDelay) {
    test::TempDir dir;
    const CameraDescription fresh;
    EXPECT_EQ(fresh.identCommand, "!=0");
    EXPECT_EQ(fresh.configCommand, "");
    EXPECT_EQ(fresh.factoryCommand, "");
    EXPECT_EQ(fresh.CharDelayMs, 75);
    EXPECT_EQ(fresh.replyTexts[0], "");

    CameraDescription d;
    CamFileKeys empty = keysOf(dir.write("empty.cam", "[Receive message]\nNoError=\nString=  \n"));
    loadGeneral(d, empty);
    EXPECT_EQ(d.configCommand, "!=3");
    EXPECT_EQ(d.factoryCommand, "!=4");
    EXPECT_EQ(d.replyTexts[0], "OK");
    EXPECT_EQ(d.ackText, "");
    EXPECT_EQ(d.CharDelayMs, 75);

    const auto delay = [&](const std::string& value, int before) {
        d.CharDelayMs = before;
        CamFileKeys keys = keysOf(dir.write("delay.cam", "[WaitBetweenChar]\nMilliSec=" + value + "\n"));
        loadCharDelay(d, keys);
        return d.CharDelayMs;
    };
    EXPECT_EQ(delay("250", 30), 30);
    EXPECT_EQ(delay("-5", 30), 30);
    EXPECT_EQ(delay("abc", 30), 0);
    EXPECT_EQ(delay(" +200ms", 30), 200);
    EXPECT_EQ(delay("99999999999999999999999", 30), 30);
    EXPECT_EQ(delay("-99999999999999999999999", 30), 30);
    EXPECT_EQ(parseDecimal("\t\n 42x"), 42);
    EXPECT_EQ(parseDecimal("-"), 0);

    // A control with a caption but no character: caption shown, nothing else read or kept.
    d.checks[1].character = "X";
    CamFileKeys titled = keysOf(dir.write("titled.cam", "[Check2]\nTitle=Caption only\nValue1=0\n"));
    EXPECT_EQ(loadCheck(d, 1, titled).title, "Caption only");
    EXPECT_EQ(d.checks[1].character, "");

    // A second file with fewer texts leaves the first one's slots beyond.
    CamFileKeys first = keysOf(dir.write("first.cam", "[Receive message]\nError0=a\nError1=b\nError2=c\n"));
    loadReplyTexts(d, first);
    CamFileKeys second = keysOf(dir.write("second.cam", "[Receive message]\nError0=z\n"));
    loadReplyTexts(d, second);
    EXPECT_EQ(d.replyTexts[1], "z");
    EXPECT_EQ(d.replyTexts[3], "c");

    // A file that cannot be opened changes nothing but still yields the defaults of a missing key.
    EXPECT_FALSE(describeCamFile(dir.path() + "none.cam").has_value());
}

TEST(CamFileLoader, Capacities) {
    test::TempDir dir;
    CameraDescription d;
    std::string file = "[Special Cmd]\nCameraIdent=" + std::string(40, 'i') + "\nCameraConf=" + std::string(31, 'c') +
                       "\n[Receive message]\nString=" + std::string(35, 's') + "\n";
    for (int n = 0; n <= 25; ++n) {
        file += "Error" + std::to_string(n) + "=e" + std::to_string(n) + "\n";
    }
    KeyLog log;
    CamFileKeys keys = keysOf(dir.write("long.cam", file), &log);
    loadGeneral(d, keys);
    EXPECT_EQ(d.identCommand, std::string(31, 'i'));
    EXPECT_EQ(d.configCommand, std::string(31, 'c'));
    EXPECT_EQ(d.ackText, std::string(29, 's'));
    EXPECT_EQ(d.replyTexts[19], "e18");
    EXPECT_EQ(std::count(log.keys.begin(), log.keys.end(), "Receive message/Error19"), 0)
        << "reading stops at the table's end";
}

} // namespace
} // namespace vistrel
