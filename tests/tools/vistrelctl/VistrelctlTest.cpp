#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "support/TempDir.h"

namespace vistrel {
namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out;
};

// The tests are built into the same folder as the tool and the sample files.
std::string binDir() {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    return self.substr(0, self.rfind('/') + 1);
}
std::string sample(const std::string& name) {
    return binDir() + "CamFiles/" + name;
}

// Runs the built vistrelctl with the words given (already shell-safe), stderr discarded.
ToolRun vistrelctl(const std::string& words) {
    ToolRun run;
    const std::string command = "'" + binDir() + "vistrelctl' " + words + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.out.append(buffer.data(), got);
    }
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(Vistrelctl, KeyPrintsValuesAndExitCodes) {
    ToolRun found = vistrelctl("key " + sample("linescan.cam") + " combobox1 text29");
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(found.out, "28 dB\n");
    ToolRun missing = vistrelctl("key " + sample("linescan.cam") + " ComboBox1 Text30");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    ToolRun crlf = vistrelctl("key " + sample("areascan-crlf.cam") + " ComboBox1 Title");
    EXPECT_EQ(crlf.exitCode, 0);
    EXPECT_EQ(crlf.out, "Verst\xE4rkung\n") << "bytes as in the file, no CR";
    EXPECT_EQ(vistrelctl("key " + sample("none.cam") + " A B").exitCode, 2);
    EXPECT_EQ(vistrelctl("key " + binDir() + " A B").exitCode, 2) << "a directory";
    EXPECT_EQ(vistrelctl("key " + sample("minimal.cam")).exitCode, 2);
    EXPECT_EQ(vistrelctl("frobnicate").exitCode, 2);
}

TEST(Vistrelctl, DescribeSamples) {
    const ToolRun line = vistrelctl("describe " + sample("linescan.cam"));
    ASSERT_EQ(line.exitCode, 0);
    const auto json = nlohmann::ordered_json::parse(line.out);
    std::string keys;
    for (const auto& item : json.items()) {
        keys += item.key() + " ";
    }
    EXPECT_EQ(keys, "identCommand configCommand factoryCommand ackText replyTexts charDelayMs combos checks lists "
                    "warnings ");
    EXPECT_EQ(json["identCommand"], "ID?");
    EXPECT_EQ(json["replyTexts"].size(), 20U);
    EXPECT_EQ(json["charDelayMs"], 5);
    ASSERT_EQ(json["combos"].size(), 8U);
    EXPECT_EQ(json["combos"][0]["texts"].size(), 29U);
    EXPECT_EQ(json["combos"][0]["values"].size(), 30U);
    EXPECT_EQ(json["combos"][0]["values"][28], "28");
    for (const auto& group : {"combos", "checks", "lists"}) {
        for (const auto& control : json[group]) {
            EXPECT_NE(control["character"], "") << "every control of the sample is used";
        }
    }
    EXPECT_EQ(json["checks"][3]["character"], "-");
    EXPECT_EQ(json["lists"][0]["entries"][0], "5");
    EXPECT_TRUE(json["warnings"].empty());

    const auto minimal = nlohmann::json::parse(vistrelctl("describe " + sample("minimal.cam")).out);
    EXPECT_EQ(minimal["identCommand"], "!=0");
    EXPECT_EQ(minimal["configCommand"], "!=3") << "defaults apply to the missing keys";
    EXPECT_EQ(minimal["replyTexts"][0], "OK");
    EXPECT_EQ(minimal["charDelayMs"], 75);
    EXPECT_EQ(minimal["combos"][0]["texts"], nlohmann::json({"Low", "High"}));
    EXPECT_TRUE(minimal["combos"][1]["texts"].empty());
    EXPECT_EQ(minimal["lists"][4]["character"], "");

    const auto latin = nlohmann::json::parse(vistrelctl("describe " + sample("areascan-crlf.cam")).out);
    EXPECT_EQ(latin["combos"][0]["title"], "Verst\xC3\xA4rkung") << "Latin-1 shown as UTF-8";
    EXPECT_EQ(latin["lists"][0]["title"], "Belichtung \xC2\xB5s");
    EXPECT_EQ(latin["lists"][0]["entries"], nlohmann::json({"100", "500", "1000"}));

    EXPECT_EQ(vistrelctl("describe " + sample("none.cam")).exitCode, 2);
}

TEST(Vistrelctl, LintNamesLinesAuthorsShouldKnow) {
    for (const char* name : {"linescan.cam", "minimal.cam", "areascan-crlf.cam"}) {
        const ToolRun clean = vistrelctl("lint " + sample(name));
        EXPECT_EQ(clean.exitCode, 0) << name << "\n" << clean.out;
        EXPECT_EQ(clean.out, "");
    }
    test::TempDir dir;
    std::string file = "[Special Cmd]\nCameraIdent=" + std::string(40, 'I') + "\n"; // 2
    file += "[Receive message]\nString=OK\n";                                       // 3, 4
    for (int n = 0; n <= 19; ++n) {
        file += "Error" + std::to_string(n) + "=e\n"; // 5 to 24
    }
    file += "[WaitBetweenChar]\nMilliSec=-5\n";                                 // 25, 26
    file += "[ComboBox1]\nCharacter=G\nValue10=ten\nValue1=one\n";              // 27 to 30
    file += "Text1=a\nText2=b\nValue3=[3]\nText3=c\n";                          // 31 to 34
    file += "[Check1]\nText=Title inside\nTitle=t\n[Check1]\n";                 // 35 to 38
    file += "[ListBox1]\nCharacter=L\nValue1=" + std::string(100, '1') + "\n";  // 39 to 41
    file += "[ListBox2]\nCharacter=R2\n[ComboBox9]\nCharacter=Z\n[listbox6]\n"; // 42 to 46
    const std::string path = dir.write("bad.cam", file);
    const ToolRun lint = vistrelctl("lint " + path);
    EXPECT_EQ(lint.exitCode, 1);
    std::string lines;
    for (std::size_t at = 0; at < lint.out.size();) {
        const std::size_t colon = lint.out.find(':', at) + 1;
        lines += lint.out.substr(colon, lint.out.find(':', colon) - colon) + " ";
        at = lint.out.find('\n', at) + 1;
    }
    EXPECT_EQ(lines, "2 24 26 29 32 33 36 38 41 43 44 46 ") << lint.out;
    EXPECT_NE(lint.out.find(":43: \"Character\" of [ListBox2] is \"R2\": only its first character \"R\" is sent"),
              std::string::npos);
    EXPECT_NE(lint.out.find(":46: section [listbox6] is ignored: the panel has 5 lists, listbox1 to listbox5"),
              std::string::npos);
    EXPECT_NE(lint.out.find("\"Value1\" of [ComboBox1]"), std::string::npos);
    EXPECT_NE(lint.out.find("\"Text2\" of [ComboBox1] has no \"Value2\""), std::string::npos);

    const auto json = nlohmann::json::parse(vistrelctl("describe " + path).out);
    ASSERT_EQ(json["warnings"].size(), 12U);
    EXPECT_EQ(json["warnings"][0]["line"], 2);
    EXPECT_EQ(json["charDelayMs"], 75);
}

// --help and --version as GNU programs answer them: on standard output, with status 0; a wrong
// command line is status 2 for every command.
TEST(Vistrelctl, HelpVersionAndTheExitCodeOfAWrongCommandLine) {
    struct Case {
        std::string words;
        int exitCode;
        std::string saying; // on standard output
    };
    const std::string camsim = "'" + binDir() + "vistrel-camsim' ";
    const std::vector<Case> cases = {
        {"--help", 0, "Usage: vistrelctl COMMAND ARGS...\n"},
        {"--version", 0, "vistrelctl (Vistrel) 6.5.0\n"},
        {"send --help", 0, "Usage: vistrelctl send "},
        {"apply --cam x.cam --help", 0, "  --from SOURCE "},
        {"ports --json --help", 0, "Usage: vistrelctl ports [--library PATH] [--json]\n"},
        {"lint --help", 0, "Exit status: 0 done; 1 "},
        {"", 2, ""},
        {"describe", 2, ""},
        {"lint a.cam b.cam", 2, ""},
        {"send --baud", 2, ""},
        {"apply --from nowhere --cam x.cam", 2, ""},
    };
    for (const Case& c : cases) {
        const ToolRun run = vistrelctl(c.words);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.words;
        EXPECT_NE(run.out.find(c.saying), std::string::npos) << c.words << ": " << run.out;
        if (c.exitCode != 0) {
            EXPECT_EQ(run.out, "") << c.words << ": usage goes to standard error";
        }
    }
    // The camera simulator answers them before asking for a description.
    for (const char* option : {"--help", "--version"}) {
        FILE* pipe = ::popen((camsim + option + " 2>&1").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::array<char, 4096> buffer{};
        const std::string out(buffer.data(), std::fread(buffer.data(), 1, buffer.size(), pipe));
        EXPECT_EQ(WEXITSTATUS(::pclose(pipe)), 0) << option;
        EXPECT_NE(out.find("vistrel-camsim"), std::string::npos) << out;
    }
}

// A device that cannot be opened: status 2, and standard error says why and what to do.
TEST(Vistrelctl, SaysWhyTheDeviceWouldNotOpen) {
    test::TempDir dir;
    const std::string settings = dir.write("vistrel.INI", "[Common]\nCOM Port=1\n");
    const std::string words = "send --settings '" + settings + "' --device '" + dir.path() + "absent' ID?";
    const std::string command = "'" + binDir() + "vistrelctl' " + words + " 2>&1 >/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::array<char, 4096> buffer{};
    const std::string errors(buffer.data(), std::fread(buffer.data(), 1, buffer.size(), pipe));
    EXPECT_EQ(WEXITSTATUS(::pclose(pipe)), 2);
    EXPECT_NE(errors.find("cannot open " + dir.path() + "absent: Error On Opening Communication\n"), std::string::npos)
        << errors;
    EXPECT_NE(errors.find("vistrelctl: no such device: " + dir.path() + "absent; plug the adapter in"),
              std::string::npos)
        << errors;
}

} // namespace
} // namespace vistrel
