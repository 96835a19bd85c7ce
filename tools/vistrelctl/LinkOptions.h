#pragma once

#include "link/LinkState.h"
#include "platform/ProgramValues.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vistrel::ctl {

inline constexpr int kLinkExitOk = 0;
inline constexpr int kLinkExitExchangeFailed = 1;
inline constexpr int kLinkExitNoLink = 2; // the link could not be opened, or the arguments are wrong

// The link "send" opens and what it sends, from the command line over the settings file's values.
struct SendOptions {
    int linkKind = kLinkCom1;
    std::string device; // COM links: the serial device
    int baud = 9600;
    std::string library; // Camera Link: the library
    int port = 0;
    std::optional<int> delayMs;
    std::string camFile;
    bool json = false;
    std::string command;
    std::string settingsPath;         // the settings file: --settings, else the program's
    std::string settingsDefaultsPath; // an installed copy's start values, while settingsPath is missing
    std::string transcript;           // --transcript: the file that takes every link operation, "-" stderr
};

// What a command line holds besides the link options: the words, and the command's own options.
struct CommandWords {
    std::vector<std::string> words;
    std::map<std::string, std::string> values; // options that take a value
    std::set<std::string> flags;
};

// Parses "send"'s arguments; on a fault returns nothing with the reason in `error`.
std::optional<SendOptions> parseSendOptions(const std::vector<std::string>& args, std::string& error);

// Parses the link options every camera command shares ("--link", "--device", "--baud", "--delay",
// "--library", "--port", "--cam", "--settings", "--transcript", "--json") over the settings file's values; the
// command's own options (`valueOptions` take a value, `flagOptions` none) and the words go to `rest`.
std::optional<SendOptions> parseLinkOptions(const std::vector<std::string>& args,
                                            const std::vector<std::string>& valueOptions,
                                            const std::vector<std::string>& flagOptions, CommandWords& rest,
                                            std::string& error);

// The places the program in this folder uses, by the same rules for a portable and an installed
// copy: "vistrel.INI" beside it, or the user's file with the file beside the program as start values
// (AppDirectory, SettingsPath, SettingsDefaultsPath, UserCamFilesDirectory).
ProgramValues programValuesOfThisFolder();

// The camera description named on the command line: as given when it exists, else from the
// program's descriptions (for an installed copy the user's CamFiles folder first).
std::string resolveCamFile(const std::string& name);

// Reads a whole decimal number (optional sign); nothing for anything else.
std::optional<long> wholeNumber(const std::string& text);

} // namespace vistrel::ctl
