#include "panel/PanelControls.h"
#include "tests/panel/PanelFixture.h"

#include <sstream>
#include <tuple>

namespace vistrel::test {
namespace {

using ApplyPanel = PanelFixture;

TEST_F(ApplyPanel, SendsEveryDefinedControlInOrderFromThePanelState) {
    load(kSmallCam);
    connect();
    state.ComboBox = {2, 0, 5, 5, 5, 5, 5, 5};
    state.Check[0] = 1;
    state.ListBox[0] = "25"; // entries 100, 250, 25: the one equal to it
    state.ListBox[1] = "";   // keeps what it shows: the first entry after a load
    view.pumps = 0;
    panel.ApplyPanel();
    EXPECT_EQ(link.commands, (std::vector<std::string>{"G=2", "M=a", "I=on", "E=25", "P=10"}));
    EXPECT_EQ(view[1029].selection, 2);
    EXPECT_EQ(view[110].editText, "25");
    EXPECT_EQ(state.ListBox[0], "25");
    EXPECT_EQ(state.ListBox[1], "10");
    // One pump per drop-down list and check box, then after lists 1 to 4 only.
    EXPECT_EQ(view.pumps, 8 + 4 + 4);
    EXPECT_EQ(records.PanelApplied, 1);
    EXPECT_EQ(records.RefreshEnabled, 1);
    EXPECT_TRUE(view[kFreeTextId].enabled);
    EXPECT_FALSE(records.SequenceRunning);
}

TEST_F(ApplyPanel, ListSearchTakesAnEqualEntryFirstThenAPrefixFromTheSecondElseInserts) {
    // The list's values, the saved value, what is sent and selected; a value of "0" is one.
    const std::tuple<const char*, const char*, const char*, int> cases[] = {
        {"25 250", "25", "E=25", 0},      {"250 25", "25", "E=25", 1}, {"1.00 1.25", "1", "E=1.00", 0},
        {"10 05", "5", "E=05", 1},        {"5 -0", "0", "E=-0", 1},    {"Fast fastest", "FAST", "E=Fast", 0},
        {"100 250 200", "2", "E=250", 1}, {"1 2", "7", "E=7", 0}};
    for (const auto& [values, saved, sent, selected] : cases) {
        std::string cam = "[ListBox1]\nCharacter=E\n";
        std::istringstream words(values);
        int n = 0;
        for (std::string word; words >> word;) {
            cam += "Value" + std::to_string(++n) + "=" + word + "\n";
        }
        load(cam);
        connect();
        link.commands.clear();
        state.ListBox[0] = saved;
        panel.ApplyPanel();
        EXPECT_EQ(link.commands, std::vector<std::string>{sent}) << values << " " << saved;
        EXPECT_EQ(view[110].selection, selected) << values << " " << saved;
    }
    EXPECT_EQ(view[110].entries, (std::vector<std::string>{"7", "1", "2"}));
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

// A line lost under the apply ends it there, in the state of a disconnection; a check that finds
// it lost does the same while idle.
TEST_F(ApplyPanel, LostLineStopsItAsADisconnection) {
    load(kSmallCam);
    connect();
    linkState.LinkMenuEnabled = false;
    link.answer({-2, kTextConnexionLost, {}, true});
    panel.ApplyPanel();
    EXPECT_EQ(link.commands, std::vector<std::string>{"G=0"});
    EXPECT_EQ(records.connection.StatusPaneText, "Connexion lost");
    EXPECT_EQ(records.connection.ConnectionPaneText, "NO Connexion");
    EXPECT_EQ(records.connection.CameraConnected, 0);
    EXPECT_EQ(records.connection.CameraDisconnected, 1);
    EXPECT_TRUE(linkState.LinkMenuEnabled);
    EXPECT_EQ(records.PanelApplied, 0);
    EXPECT_EQ(link.closes, 0);
}

} // namespace
} // namespace vistrel::test
