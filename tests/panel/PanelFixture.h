#pragma once

#include "panel/CommPanel.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tests/panel/PanelDoubles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vistrel::test {

// One panel over a recording view, a scripted link and scripted prompts, with a program folder
// of its own whose CamFiles/ the tests fill.
class PanelFixture : public ::testing::Test {
protected:
    PanelFixture() {
        values.AppDirectory = folder.path();
        values.SettingsPath = folder.path() + "vistrel.INI";
        ::mkdir((folder.path() + "CamFiles").c_str(), 0755);
    }

    void writeCam(const std::string& name, const std::string& text) { folder.write("CamFiles/" + name, text); }

    // Writes a description and loads it into the panel.
    void load(const std::string& text, const std::string& name = "test.cam") {
        writeCam(name, text);
        values.CamFileName = name;
        panel.LoadCamFile();
    }

    void connect() { records.connection.CameraConnected = 1; }

    TempDir folder;
    RunValues values;
    PanelState state;
    LinkState linkState;
    PanelRecords records;
    ScriptedLink link;
    RecordingView view;
    ScriptedPrompts prompts;
    CommPanel panel{values, state, linkState, records, link, view, prompts};
};

// A description with two drop-down lists, a check box and two lists.
inline const char* const kSmallCam = "[Special Cmd]\nCameraIdent=ID?\nCameraConf=CFG?\nCameraDefault=RST\n"
                                     "[Receive message]\nString=OK\nNoError=Accepted\nError0=Refused\n"
                                     "Error1=Unknown\nError2=Out of range\nError3=100% locked\n"
                                     "[WaitBetweenChar]\nMilliSec=7\n"
                                     "[ComboBox1]\nTitle=Gain\nCharacter=G\nValue1=0\nText1=Low\nValue2=1\n"
                                     "Text2=Mid\nValue3=2\nText3=High\n"
                                     "[ComboBox2]\nTitle=Mode\nCharacter=M\nValue1=a\nText1=A\nText2=B\n"
                                     "[Check1]\nTitle=Invert\nCharacter=I\nValue1=off\nValue2=on\n"
                                     "[ListBox1]\nTitle=Exposure\nCharacter=E\nValue1=100\nValue2=250\nValue3=25\n"
                                     "[ListBox2]\nTitle=Period\nCharacter=P\nValue1=10\n";

} // namespace vistrel::test
