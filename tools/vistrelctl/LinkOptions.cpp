#include "tools/vistrelctl/LinkOptions.h"

#include "platform/ExecutablePaths.h"
#include "platform/FileLocations.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <tuple>

namespace vistrel::ctl {

std::optional<long> wholeNumber(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || value < -2147483647L || value > 2147483647L) {
        return std::nullopt;
    }
    return value;
}

RunValues programValuesOfThisFolder() {
    RunValues values;
    values.AppDirectory = appDirectoryOf(executablePath());
    const FileLocations locations =
        fileLocationsOf(values.AppDirectory + "vistrel", isInstalledCopy(values.AppDirectory), userFolders());
    values.SettingsPath = locations.settingsPath;
    values.SettingsDefaultsPath = locations.settingsDefaultsPath;
    values.UserCamFilesDirectory = locations.userCamFilesDirectory;
    return values;
}

std::string resolveCamFile(const std::string& name) {
    std::error_code error;
    if (name.find('/') != std::string::npos || std::filesystem::exists(name, error)) {
        return name;
    }
    const std::string ofProgram = resolveCamFilePath(programValuesOfThisFolder(), name);
    return std::filesystem::exists(ofProgram, error) ? ofProgram : name;
}

std::optional<SendOptions> parseSendOptions(const std::vector<std::string>& args, std::string& error) {
    CommandWords rest;
    SettingsRead settings;
    std::optional<SendOptions> options = parseLinkOptions(args, {}, {}, rest, settings, error);
    if (!options) {
        return std::nullopt;
    }
    if (rest.words.size() != 1) {
        error = rest.words.empty() ? "no COMMAND given" : "one COMMAND only (quote a command with blanks)";
        return std::nullopt;
    }
    options->command = rest.words[0];
    // The camera takes a CR as the end of a command: a second line would be a second command whose
    // answer nobody reads.
    if (options->command.find_first_of("\r\n") != std::string::npos) {
        error = "the COMMAND holds a line break (CR or LF); send one command at a time";
        return std::nullopt;
    }
    return options;
}

std::optional<LinkArguments> tokeniseLinkOptions(const std::vector<std::string>& args,
                                                 const std::vector<std::string>& valueOptions,
                                                 const std::vector<std::string>& flagOptions, std::string& error) {
    LinkArguments typed;
    std::vector<std::string>& words = typed.rest.words;
    const auto listed = [](const std::vector<std::string>& names, const std::string& arg) {
        return std::find(names.begin(), names.end(), arg) != names.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::optional<std::string>* target = arg == "--link"         ? &typed.link
                                             : arg == "--device"     ? &typed.device
                                             : arg == "--baud"       ? &typed.baud
                                             : arg == "--delay"      ? &typed.delay
                                             : arg == "--library"    ? &typed.library
                                             : arg == "--port"       ? &typed.port
                                             : arg == "--cam"        ? &typed.cam
                                             : arg == "--settings"   ? &typed.settings
                                             : arg == "--transcript" ? &typed.transcript
                                                                     : nullptr;
        if (target != nullptr || listed(valueOptions, arg)) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            if (target != nullptr) {
                *target = args[++i];
            } else {
                typed.rest.values[arg] = args[++i];
            }
        } else if (arg == "--json") {
            typed.json = true;
        } else if (listed(flagOptions, arg)) {
            typed.rest.flags.insert(arg);
        } else if (arg == "--") {
            words.insert(words.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            words.push_back(arg);
        }
    }
    return typed;
}

std::optional<SettingsRead> readRunSettings(const LinkArguments& typed, std::string& error) {
    SettingsRead settings{programValuesOfThisFolder(), {}};
    if (typed.settings) {
        settings.values.SettingsPath = *typed.settings;
        settings.values.SettingsDefaultsPath.clear();
    }
    settings.read = ReadStartupSettings(settings.values);
    if (typed.settings && !settings.read.found) {
        error = "cannot read the settings file " + *typed.settings;
        return std::nullopt;
    }
    return settings;
}

SendOptions linkDefaultsOf(const StartupSettings& saved) {
    SendOptions options;
    if (saved.found) {
        options.linkKind = saved.link.linkKind.value_or(kLinkCom1);
        options.baud = saved.link.baudRate;
        options.library = saved.link.cameraLinkLibrary;
        options.port = saved.link.cameraLinkPort;
    }
    return options;
}

std::optional<SendOptions> validateLinkOptions(const LinkArguments& typed, const StartupSettings& saved,
                                               std::string& error) {
    SendOptions options = linkDefaultsOf(saved);
    options.json = typed.json;
    const auto& [link, device, baud, delay, library, port, cam] =
        std::tie(typed.link, typed.device, typed.baud, typed.delay, typed.library, typed.port, typed.cam);
    if (link) {
        if (*link == "com1") {
            options.linkKind = kLinkCom1;
        } else if (*link == "com2") {
            options.linkKind = kLinkCom2;
        } else if (*link == "cameralink") {
            options.linkKind = kLinkCameraLink;
        } else {
            error = "--link takes com1, com2 or cameralink, not " + *link;
            return std::nullopt;
        }
    } else if (device) {
        options.linkKind = options.linkKind == kLinkCom2 ? kLinkCom2 : kLinkCom1;
    } else if (library || port) {
        options.linkKind = kLinkCameraLink;
    }
    if (options.linkKind == kLinkCameraLink && device) {
        error = "--device is for a COM link";
        return std::nullopt;
    }
    if (options.linkKind != kLinkCameraLink && (library || port)) {
        error = "--library and --port are for a Camera Link";
        return std::nullopt;
    }
    options.device = device.value_or(saved.link.comDevice[options.linkKind == kLinkCom2 ? 1 : 0]);
    if (library) {
        options.library = *library;
    }
    if (baud) {
        const std::optional<long> n = wholeNumber(*baud);
        if (!n || *n <= 0) {
            error = "--baud takes a positive number, not " + *baud;
            return std::nullopt;
        }
        options.baud = static_cast<int>(*n);
    }
    if (port) {
        const std::optional<long> n = wholeNumber(*port);
        if (!n || *n < 0) {
            error = "--port takes a port index (0, 1, ...), not " + *port;
            return std::nullopt;
        }
        options.port = static_cast<int>(*n);
    }
    if (delay) {
        const std::optional<long> n = wholeNumber(*delay);
        if (!n || *n < 0 || *n > 200) {
            error = "--delay takes milliseconds from 0 to 200, not " + *delay;
            return std::nullopt;
        }
        options.delayMs = static_cast<int>(*n);
    }
    if (cam) {
        options.camFile = resolveCamFile(*cam);
    }
    options.transcript = typed.transcript.value_or("");
    if (options.linkKind == kLinkCameraLink && options.library.empty()) {
        error = "no Camera Link library: give --library or set \"CameraLink DLL\" in the settings";
        return std::nullopt;
    }
    return options;
}

std::optional<SendOptions> parseLinkOptions(const std::vector<std::string>& args,
                                            const std::vector<std::string>& valueOptions,
                                            const std::vector<std::string>& flagOptions, CommandWords& rest,
                                            SettingsRead& settings, std::string& error) {
    std::optional<LinkArguments> typed = tokeniseLinkOptions(args, valueOptions, flagOptions, error);
    if (!typed) {
        return std::nullopt;
    }
    std::optional<SettingsRead> read = readRunSettings(*typed, error);
    if (!read) {
        return std::nullopt;
    }
    settings = std::move(*read);
    rest = std::move(typed->rest);
    return validateLinkOptions(*typed, settings.read, error);
}

} // namespace vistrel::ctl
