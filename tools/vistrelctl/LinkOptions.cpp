#include "tools/vistrelctl/LinkOptions.h"

#include "platform/Profile.h"
#include "platform/ProgramPaths.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace vistrel::ctl {

namespace {

constexpr std::size_t kValueCapacity = 100; // the program's 99-character values

// "COM Port" as start-up reads it: '1', '2' and '3' anywhere, the later selection winning.
int linkKindFromSetting(const std::string& value) {
    int kind = kLinkCom1;
    if (value.find('1') != std::string::npos) {
        kind = kLinkCom1;
    }
    if (value.find('2') != std::string::npos) {
        kind = kLinkCom2;
    }
    if (value.find('3') != std::string::npos) {
        kind = kLinkCameraLink;
    }
    return kind;
}

} // namespace

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

std::string defaultSettingsPath() {
    return appDirectoryOf(executablePath()) + "vistrel.INI";
}

std::string resolveCamFile(const std::string& name) {
    std::error_code error;
    if (name.find('/') != std::string::npos || std::filesystem::exists(name, error)) {
        return name;
    }
    const std::string besideProgram = camFilesDirectory(appDirectoryOf(executablePath())) + name;
    return std::filesystem::exists(besideProgram, error) ? besideProgram : name;
}

std::optional<SendOptions> parseSendOptions(const std::vector<std::string>& args, std::string& error) {
    std::optional<std::string> link, device, baud, delay, library, port, cam, settings;
    SendOptions options;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::optional<std::string>* target = arg == "--link"       ? &link
                                             : arg == "--device"   ? &device
                                             : arg == "--baud"     ? &baud
                                             : arg == "--delay"    ? &delay
                                             : arg == "--library"  ? &library
                                             : arg == "--port"     ? &port
                                             : arg == "--cam"      ? &cam
                                             : arg == "--settings" ? &settings
                                                                   : nullptr;
        if (target != nullptr) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            *target = args[++i];
        } else if (arg == "--json") {
            options.json = true;
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
    if (words.size() != 1) {
        error = words.empty() ? "no COMMAND given" : "one COMMAND only (quote a command with blanks)";
        return std::nullopt;
    }
    options.command = words[0];
    // The camera takes a CR as the end of a command: a second line would be a second command whose
    // answer nobody reads.
    if (options.command.find_first_of("\r\n") != std::string::npos) {
        error = "the COMMAND holds a line break (CR or LF); send one command at a time";
        return std::nullopt;
    }

    // Defaults from the settings file, as the program reads them at start-up.
    const std::string settingsPath = settings.value_or(defaultSettingsPath());
    bool found = false;
    const std::string contents = loadProfile(settingsPath, &found);
    if (settings && !found) {
        error = "cannot read the settings file " + settingsPath;
        return std::nullopt;
    }
    if (found) {
        options.linkKind = linkKindFromSetting(readProfileString(contents, "Common", "COM Port", "2", kValueCapacity));
        options.baud = readProfileInt(contents, "Common", "BaudRate", 9600);
        options.library = readProfileString(contents, "Common", "CameraLink DLL", "", kValueCapacity);
        options.port = profileTextToInt(readProfileString(contents, "Common", "CameraLink Port", "", kValueCapacity));
    }
    const std::string mapped[2] = {readProfileString(contents, "Serial Devices", "COM1", "/dev/ttyS0", 4096),
                                   readProfileString(contents, "Serial Devices", "COM2", "/dev/ttyS1", 4096)};

    // A device or a library named on the command line chooses its kind of link.
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
    options.device = device.value_or(mapped[options.linkKind == kLinkCom2 ? 1 : 0]);
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
    if (options.linkKind == kLinkCameraLink && options.library.empty()) {
        error = "no Camera Link library: give --library or set \"CameraLink DLL\" in the settings";
        return std::nullopt;
    }
    return options;
}

} // namespace vistrel::ctl
