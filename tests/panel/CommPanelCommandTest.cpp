#include "panel/PanelControls.h"
#include "tests/panel/PanelFixture.h"

namespace vistrel::test {
namespace {

using SendCameraCommand = PanelFixture;

TEST_F(SendCameraCommand, ComposesSendsShowsAndInterpretsTheReply) {
    load(kSmallCam);
    // Acknowledged: the link's result stands, the reply is shown with an LF after each CR.
    link.answer({10, "Sending & Receipt OK", "x\rG=1\r>OK\r"});
    EXPECT_EQ(panel.SendCameraCommand('G', "1"), 10);
    EXPECT_EQ(link.commands.back(), "G=1");
    EXPECT_EQ(link.delays.back(), 7);
    EXPECT_EQ(view.replies.back(), "x\r\nG=1\r\n>OK\r\n");
    EXPECT_EQ(view.statusLines.back(), "Accepted");
    EXPECT_EQ(records.connection.ConnectionPaneText, "G=1");
    EXPECT_TRUE(prompts.beeps.size() == 1); // the load's beep only
    EXPECT_EQ(linkState.SettingsChanged, 10);

    // An error number shows its text, verbatim even with a percent sign, beeps and gives 0.
    link.answerReply(">3\r");
    EXPECT_EQ(panel.SendCameraCommand('G', "2"), 0);
    EXPECT_EQ(view.statusLines.back(), "100% locked");
    EXPECT_EQ(prompts.beeps.size(), 2u);
    // Stray bytes before '>' hide the number.
    link.answerReply("ab>2\r");
    EXPECT_EQ(panel.SendCameraCommand('G', "2"), 0);
    EXPECT_EQ(view.statusLines.back(), "Refused");
    // A failed exchange is no refusal: the link's own status, a beep and the link's result.
    link.answer({-2, "Acknowledge error", ">OK"});
    EXPECT_EQ(panel.SendCameraCommand('G', "2"), -2);
    EXPECT_EQ(view.replies.back(), "");
    EXPECT_EQ(view.statusLines.back(), "Acknowledge error");
    EXPECT_EQ(prompts.beeps.size(), 4u);
    // A number without a slot shows the text of error 0, never "Accepted".
    link.answerReply(">-1\r");
    panel.SendCameraCommand('G', "2");
    EXPECT_EQ(view.statusLines.back(), "Refused");

    // The free command character sends the text as it is.
    panel.SendCameraCommand('-', "!=3");
    EXPECT_EQ(link.commands.back(), "!=3");
    EXPECT_EQ(linkState.SettingsChanged, 10); // set once, never reset

    // A 200-character reply is shown whole; bytes beyond the result are not.
    const std::string longReply = std::string(196, 'a') + ">OK\r";
    link.answer({200, "Sending & Receipt OK", longReply + "junk"});
    EXPECT_EQ(panel.SendCameraCommand('G', "0"), 200);
    EXPECT_EQ(view.replies.back(), std::string(196, 'a') + ">OK\r\n");
}

TEST_F(SendCameraCommand, EmptyAcknowledgeTextAcceptsEveryFramedReplyButNoFailure) {
    load("[Receive message]\nNoError=Fine\nError0=Bad\n[ComboBox1]\nCharacter=G\nValue1=0\nText1=a\nValue2=1\n"
         "Text2=b\n");
    link.answerReply(">x\r");
    EXPECT_EQ(panel.SendCameraCommand('G', "1"), 3);
    EXPECT_EQ(view.statusLines.back(), "Fine");
    EXPECT_EQ(prompts.beeps.size(), 1u); // only the load's
    linkState.SettingsChanged = 0;
    link.answer({0, "No Connexion", ""});
    EXPECT_EQ(panel.SendCameraCommand('G', "0"), 0);
    EXPECT_EQ(view.statusLines.back(), "No Connexion");
    EXPECT_EQ(prompts.beeps.size(), 2u);
    EXPECT_EQ(linkState.SettingsChanged, 0);
    // The control still goes back: the result is the link's 0.
    connect();
    view.select(1029, 1);
    link.answer({0, "No Connexion", ""});
    panel.OnComboChanged(0);
    EXPECT_EQ(view[1029].selection, -1);
}

TEST_F(SendCameraCommand, OverlongCommandIsRefusedWithoutSending) {
    load(kSmallCam);
    view[kFreeTextId].editText = std::string(150, 'x');
    panel.OnSendFreeText();
    EXPECT_TRUE(link.commands.empty());
    EXPECT_EQ(view.statusLines.back(), "Error Command Too Long");
    EXPECT_EQ(prompts.beeps.size(), 2u);
    EXPECT_TRUE(view[kFreeTextId].entries.empty());
    // 99 characters still go out.
    view[kFreeTextId].editText = std::string(99, 'y');
    panel.OnSendFreeText();
    EXPECT_EQ(link.commands.back(), std::string(99, 'y'));
}

using Handlers = PanelFixture;

TEST_F(Handlers, DropDownSendsItsValueAndGoesBackWhenRefused) {
    load(kSmallCam);
    view.select(1029, 1);
    panel.OnComboChanged(0);
    EXPECT_EQ(link.commands.back(), "G=1");
    EXPECT_EQ(state.ComboBox[0], 1);
    view.select(1029, 2);
    link.answerReply(">2\r");
    panel.OnComboChanged(0);
    EXPECT_EQ(view[1029].selection, 1);                 // back to the last accepted
    EXPECT_EQ(state.ComboBox[0], 2);                    // the refused index stays saved
    EXPECT_EQ(view.statusLines.back(), "Out of range"); // error 2
    // The first refusal of a list goes back to what the view recorded before: no selection.
    view.select(1024, 0);
    link.answerReply(">0\r");
    panel.OnComboChanged(1);
    EXPECT_EQ(view[1024].selection, -1);
    // Without a selection nothing is sent and nothing changes.
    const std::size_t sent = link.commands.size();
    state.ComboBox[1] = 7;
    view.select(1024, -1);
    panel.OnComboChanged(1);
    EXPECT_EQ(link.commands.size(), sent);
    EXPECT_EQ(state.ComboBox[1], 7);
    // An empty value slot sends the character and '=' alone.
    view.select(1024, 1);
    panel.OnComboChanged(1);
    EXPECT_EQ(link.commands.back(), "M=");
}

TEST_F(Handlers, CheckBoxSendsValueTwoWhenCheckedAndGoesBack) {
    load(kSmallCam);
    view[1031].checked = true;
    panel.OnCheckClicked(0);
    EXPECT_EQ(link.commands.back(), "I=on");
    EXPECT_EQ(state.Check[0], 1);
    view[1031].checked = false;
    link.answerReply(">1\r");
    panel.OnCheckClicked(0);
    EXPECT_EQ(link.commands.back(), "I=off");
    EXPECT_TRUE(view[1031].checked);
    EXPECT_EQ(state.Check[0], 0);
}

TEST_F(Handlers, ListAppliesItsTextAndStoresTheLeadingNumberOnlyOnSuccess) {
    load(kSmallCam);
    view[110].editText = "12ab";
    panel.OnApplyList(0);
    EXPECT_EQ(link.commands.back(), "E=12ab");
    EXPECT_EQ(state.ListBox[0], "12");
    view[110].editText = "abc";
    panel.OnApplyList(0);
    EXPECT_EQ(state.ListBox[0], "");
    view.select(110, 1);
    panel.OnApplyList(0);
    EXPECT_EQ(state.ListBox[0], "250");
    view.select(110, 2);
    link.answerReply(">0\r");
    panel.OnApplyList(0);
    EXPECT_EQ(state.ListBox[0], "250");
    EXPECT_EQ(view[110].selection, 1);
    EXPECT_EQ(view[110].editText, "250");
    // Accepted but beyond the int range: never kept.
    view[110].editText = "9999999999";
    panel.OnApplyList(0);
    EXPECT_EQ(link.commands.back(), "E=9999999999");
    EXPECT_EQ(state.ListBox[0], "250");
}

TEST_F(Handlers, ATooLongListTextIsSaidOnlyByItsOwnApplyAndNeverMakesTheOthersStale) {
    load(kSmallCam);
    view[110].editText = "12345678901";
    view[111].editText = "33";
    panel.OnApplyList(1); // another list: its own text, and no word about the first
    panel.OnApplyList(0); // its own: said once, nothing sent
    EXPECT_EQ(link.commands, (std::vector<std::string>{"P=33"}));
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{kTextTooManyCharacters}));
}

TEST_F(Handlers, ADescriptionEntryTooLongIsSaidOnceAndTheOtherListsSendTheirSavedValues) {
    load("[ComboBox1]\nCharacter=G\nValue1=0\nText1=a\n[ListBox1]\nCharacter=E\nValue1=12345678901\n"
         "[ListBox2]\nCharacter=R\nValue1=10\nValue2=20\n");
    connect();
    state.ListBox = {"", "20", "", "", ""};
    panel.ApplyPanel();
    EXPECT_EQ(link.commands, (std::vector<std::string>{"G=0", "R=20"}));
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{kTextTooManyCharacters}));
    EXPECT_EQ(state.ListBox[0], "");
}

TEST_F(Handlers, FreeTextGoesOutVerbatimAndIsKeptWhenAccepted) {
    load(kSmallCam);
    view[kFreeTextId].editText = "";
    panel.OnSendFreeText();
    EXPECT_TRUE(link.commands.empty());
    EXPECT_TRUE(view.statusLines.empty());
    view[kFreeTextId].editText = "!=3";
    panel.OnSendFreeText();
    panel.OnSendFreeText();
    EXPECT_EQ(link.commands, (std::vector<std::string>{"!=3", "!=3"}));
    EXPECT_EQ(view[kFreeTextId].entries, (std::vector<std::string>{"!=3", "!=3"}));
    link.answerReply(">1\r");
    view[kFreeTextId].editText = "bad";
    panel.OnSendFreeText();
    EXPECT_EQ(view[kFreeTextId].entries.size(), 2u);
}

} // namespace
} // namespace vistrel::test
