#include "panel/PanelControls.h"
#include "tests/panel/PanelFixture.h"

namespace vistrel::test {
namespace {

using ApplyPanel = PanelFixture;

TEST_F(ApplyPanel, SendsEveryDefinedControlInOrderFromThePanelState) {
    load(kSmallCam);
    connect();
    state.ComboBox = {2, 0, 5, 5, 5, 5, 5, 5};
    state.Check[0] = 1;
    state.ListBox[0] = 25; // entries 100, 250, 25: the search starts at the second entry
    state.ListBox[1] = 0;  // keeps what it shows: the first entry after a load
    view.pumps = 0;
    panel.ApplyPanel();
    EXPECT_EQ(link.commands, (std::vector<std::string>{"G=2", "M=a", "I=on", "E=250", "P=10"}));
    EXPECT_EQ(view[1029].selection, 2);
    EXPECT_EQ(view[110].editText, "250");
    EXPECT_EQ(state.ListBox[0], 250);
    EXPECT_EQ(state.ListBox[1], 10);
    // One pump per drop-down list and check box, then after lists 1 to 4 only.
    EXPECT_EQ(view.pumps, 8 + 4 + 4);
    EXPECT_EQ(records.PanelApplied, 1);
    EXPECT_EQ(records.RefreshEnabled, 1);
    EXPECT_TRUE(view[kFreeTextId].enabled);
    EXPECT_FALSE(records.SequenceRunning);
}

TEST_F(ApplyPanel, ListSearchTriesTheFirstEntryLastAndInsertsAMissingValue) {
    load("[ListBox1]\nCharacter=E\nValue1=25\nValue2=250\n[ListBox2]\nCharacter=P\nValue1=1\nValue2=2\n");
    connect();
    state.ListBox[0] = 25; // entries 25, 250: the second entry begins with "25"
    state.ListBox[1] = 7;  // nowhere: inserted as the first entry
    panel.ApplyPanel();
    EXPECT_EQ(link.commands, (std::vector<std::string>{"E=250", "P=7"}));
    EXPECT_EQ(view[111].entries, (std::vector<std::string>{"7", "1", "2"}));
    EXPECT_EQ(view[111].selection, 0);
}

TEST_F(ApplyPanel, IndexBeyondTheEntriesSendsNothingForThatList) {
    load(kSmallCam);
    connect();
    state.ComboBox[1] = 9;
    panel.ApplyPanel();
    EXPECT_EQ(view[1024].selection, -1);
    EXPECT_EQ(state.ComboBox[1], 9);
    EXPECT_EQ(link.commands.front(), "G=0");
    EXPECT_EQ(link.commands[1], "I=off");
}

TEST_F(ApplyPanel, EscapeStopsItAndNotConnectedDoesNothing) {
    load(kSmallCam);
    panel.ApplyPanel();
    EXPECT_TRUE(link.commands.empty());
    EXPECT_FALSE(view[kFreeTextId].enabled);
    EXPECT_EQ(records.PanelApplied, 0);

    connect();
    view.pumpScript = {[] { return false; }, [] { return true; }};
    panel.ApplyPanel();
    EXPECT_EQ(link.commands, (std::vector<std::string>{"G=0", "M=a"}));
    EXPECT_EQ(records.PanelApplied, 0);
    EXPECT_EQ(records.RefreshEnabled, 0);
    EXPECT_FALSE(view[kFreeTextId].enabled);
    EXPECT_FALSE(records.SequenceRunning);
}

TEST_F(ApplyPanel, ClickDispatchedByAPumpRunsButNeverStartsASecondSequence) {
    load(kSmallCam);
    connect();
    struct CountingDialog : CameraConfigDialogRunner {
        int runs = 0;
        std::optional<CameraConfigAnswer> run(const CameraConfigSetup&) override {
            ++runs;
            return CameraConfigAnswer{"test.cam", InitChoice::SavedValues};
        }
    } dialog;
    // The first pump step dispatches a click on the configuration command, a refresh and Send.
    view.pumpScript = {[&] {
        EXPECT_FALSE(panel.OnUpdateConfigCommand().enabled);
        EXPECT_FALSE(panel.OnUpdateRefresh().enabled);
        panel.OpenCameraConfiguration(dialog);
        panel.OnRefresh();
        view[kFreeTextId].editText = "X";
        panel.OnSendFreeText();
        return false;
    }};
    panel.ApplyPanel();
    EXPECT_EQ(dialog.runs, 0);
    EXPECT_EQ(link.commands, (std::vector<std::string>{"G=0", "X", "M=a", "I=off", "E=100", "P=10"}));
    EXPECT_TRUE(panel.OnUpdateRefresh().enabled);
}

} // namespace
} // namespace vistrel::test
