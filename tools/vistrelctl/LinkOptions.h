#pragma once

#include "link/LinkState.h"
#include "platform/RunValues.h"
#include "settings/StartupSettings.h"
#include "tools/vistrelctl/Subcommand.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vistrel::ctl {

inline constexpr int kLinkExitOk = kExitDone;
inline constexpr int kLinkExitExchangeFailed = kExitRefused;
inline constexpr int kLinkExitNoLink = kExitUsage; // the link could not be opened, or the arguments are wrong

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
    std::string transcript; // --transcript: the file that takes every link operation, "-" the error stream
};

// What a command line holds besides the link options: the words, and the command's own options.
struct CommandWords {
    std::vector<std::string> words;
    std::map<std::string, std::string> values; // options that take a value
    std::set<std::string> flags;
};

// The link options every camera command shares, as typed: nothing checked, nothing defaulted.
struct LinkArguments {
    std::optional<std::string> link, device, baud, delay, library, port, cam, settings, transcript;
    bool json = false;
    CommandWords rest; // the command's own options and its words
};

// The settings file of a run, read once: where it is (the program's places, with SettingsPath
// from --settings) and what it holds.
struct SettingsRead {
    RunValues values;
    StartupSettings read;
};

// Parses "send"'s arguments; on a fault returns nothing with the reason in `error`.
std::optional<SendOptions> parseSendOptions(const std::vector<std::string>& args, std::string& error);

// Splits the command line into the shared link options ("--link", "--device", "--baud", "--delay",
// "--library", "--port", "--cam", "--settings", "--transcript", "--json"), the command's own options (`valueOptions`
// take a value, `flagOptions` none) and the words. Fails on an unknown option or a missing value.
std::optional<LinkArguments> tokeniseLinkOptions(const std::vector<std::string>& args,
                                                 const std::vector<std::string>& valueOptions,
                                                 const std::vector<std::string>& flagOptions, std::string& error);

// Reads the settings file the run uses; a file named by --settings must be readable.
std::optional<SettingsRead> readRunSettings(const LinkArguments& typed, std::string& error);

// The link the settings file names, as the program reads it at start-up (COM1 at 9600 without one).
SendOptions linkDefaultsOf(const StartupSettings& saved);

// The typed options over the settings file's, checked: a device or a library typed chooses its kind
// of link, and each value must make sense for that link.
std::optional<SendOptions> validateLinkOptions(const LinkArguments& typed, const StartupSettings& saved,
                                               std::string& error);

// The three steps above in turn; `settings` keeps what was read and `rest` the command's own part.
std::optional<SendOptions> parseLinkOptions(const std::vector<std::string>& args,
                                            const std::vector<std::string>& valueOptions,
                                            const std::vector<std::string>& flagOptions, CommandWords& rest,
                                            SettingsRead& settings, std::string& error);

// The places the program in this folder uses, by the same rules for a portable and an installed
// copy: "vistrel.INI" beside it, or the user's file with the file beside the program as start values
// (AppDirectory, SettingsPath, SettingsDefaultsPath, UserCamFilesDirectory).
RunValues programValuesOfThisFolder();

// The camera description named on the command line: as given when it exists, else from the
// program's descriptions (for an installed copy the user's CamFiles folder first).
std::string resolveCamFile(const std::string& name);

// Reads a whole decimal number (optional sign); nothing for anything else.
std::optional<long> wholeNumber(const std::string& text);

} // namespace vistrel::ctl
