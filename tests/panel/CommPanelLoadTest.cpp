#include "panel/PanelControls.h"
#include "tests/panel/PanelFixture.h"

namespace vistrel::test {
namespace {

using LoadCamFile = PanelFixture;

TEST_F(LoadCamFile, FillsDefinedControlsAndLeavesTheRestEmptyAndDisabled) {
    // Only "ComboBox3" is defined; "Check2" has a title without a character.
    load("[ComboBox3]\nTitle=Speed\nCharacter=S\nValue1=1\nText1=Slow\nValue2=2\nText2=Fast\n"
         "[Check2]\nTitle=Shown only\n");
    EXPECT_EQ(records.LoadedTitle, " test.cam  loaded");
    EXPECT_EQ(view[1028].entries, (std::vector<std::string>{"Slow", "Fast"}));
    EXPECT_TRUE(view[1028].enabled);
    EXPECT_EQ(view[1002].caption, "Speed");
    EXPECT_EQ(view[1032].caption, "Shown only");
    EXPECT_FALSE(view[1032].enabled);
    for (int id : {1029, 1024, 1030, 1033, 1034, 1038, 1037, 1031, 1035, 1036, 110, 111, 112, 113, 114, 1046, 1050}) {
        EXPECT_FALSE(view[id].enabled) << id;
        EXPECT_TRUE(view[id].entries.empty()) << id;
    }
    EXPECT_EQ(view[1000].caption, "");
    EXPECT_TRUE(view[kSendId].enabled);
    EXPECT_FALSE(view[kFreeTextId].enabled);
    EXPECT_EQ(prompts.beeps, std::vector<BeepKind>{BeepKind::Exclamation});
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(link.commands.empty());
    // One pump after the general part, then one per control.
    EXPECT_EQ(view.pumps, 1 + 8 + 4 + 5);
    // The title's " loaded" is shown again by a later load; a missing file changes the title only.
    values.CamFileName = "missing.cam";
    panel.LoadCamFile();
    EXPECT_EQ(records.LoadedTitle, " ");
    EXPECT_EQ(view[1028].entries.size(), 2u);
    EXPECT_EQ(records.description.combos[2].character, "S");
}

TEST_F(LoadCamFile, EscapeEndsTheLoadAfterTheControlInProgress) {
    view[1031].caption = "before";
    // Pump steps: general, ComboBox1, ComboBox2 (Escape).
    view.pumpScript = {[] { return false; }, [] { return false; }, [] { return true; }};
    load(kSmallCam);
    EXPECT_EQ(view[1029].entries.size(), 3u);
    EXPECT_EQ(view[1024].entries.size(), 2u);
    EXPECT_EQ(view[1031].caption, "before"); // never reached
    EXPECT_TRUE(records.description.checks[0].character.empty());
    EXPECT_FALSE(view[kSendId].enabled);
    EXPECT_TRUE(prompts.beeps.empty());
    EXPECT_FALSE(records.SequenceRunning);
}

TEST_F(LoadCamFile, SecondFileKeepsTheOldSelectionsByPositionButNothingOfTheOldFile) {
    load(kSmallCam);
    connect();
    // A fresh load writes the empty list text back: every list selects its first entry.
    EXPECT_EQ(view[110].selection, 0);
    EXPECT_EQ(view[110].editText, "100");
    EXPECT_EQ(view[1029].selection, -1);
    view.select(1029, 2);
    panel.OnComboChanged(0);
    view.select(1024, 1);
    panel.OnComboChanged(1);
    view[1031].checked = true;
    panel.OnCheckClicked(0);

    load("[ComboBox1]\nCharacter=G\nValue1=0\nText1=One\nValue2=1\nText2=Two\nText3=Three\nText4=Four\n"
         "[ComboBox2]\nCharacter=M\nValue1=x\nText1=Only\n"
         "[Check1]\nCharacter=I\n",
         "second.cam");
    EXPECT_EQ(view[1029].selection, 2);
    EXPECT_EQ(view[1024].selection, -1); // the new list is shorter
    EXPECT_TRUE(view[1031].checked);
    // Nothing of the old file is left: keys the new file lacks are empty.
    EXPECT_EQ(records.description.combos[1].values[0], "x");
    EXPECT_EQ(records.description.replyTexts[4], "");
    EXPECT_EQ(records.description.CharDelayMs, 75);
    panel.OnComboChanged(0);
    panel.OnCheckClicked(0);
    EXPECT_EQ(link.commands, (std::vector<std::string>{"G=2", "M=", "I=on", "G=", "I="}));
}

} // namespace
} // namespace vistrel::test
