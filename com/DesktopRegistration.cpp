#include "com/DesktopRegistration.h"

#include "platform/AtomicReplace.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace vistrel {

const char* const kDesktopEntryName = VISTREL_DESKTOP_ENTRY_NAME;

namespace {

bool isSwitch(const std::string& argument, std::string_view word) {
    if (argument.size() != word.size() + 1 || (argument[0] != '-' && argument[0] != '/')) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = argument[i + 1];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        const char w = word[i];
        if (lower != ((w >= 'A' && w <= 'Z') ? static_cast<char>(w - 'A' + 'a') : w)) {
            return false;
        }
    }
    return true;
}

// An Exec argument in double quotes, with the escapes of the desktop entry format: first those of
// a quoted argument, then those of a string value; '%' is doubled since it starts a field code.
std::string quotedExecArgument(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += "\\\\"; // the argument escape, itself escaped as a string value
            if (c == '\\') {
                quoted += "\\\\";
                continue;
            }
        }
        if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace

RegistrationSwitch findRegistrationSwitch(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (isSwitch(argument, "RegServer")) {
            return RegistrationSwitch::Register;
        }
        if (isSwitch(argument, "UnregServer")) {
            return RegistrationSwitch::Unregister;
        }
    }
    return RegistrationSwitch::None;
}

bool hasAutomationSwitch(const std::vector<std::string>& arguments) {
    return std::ranges::any_of(arguments, [](const std::string& argument) {
        return isSwitch(argument, "Embedding") || isSwitch(argument, "Automation");
    });
}

std::string applicationsFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        return std::string(dataHome) + "/applications";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.local/share/applications";
    }
    return {};
}

std::string desktopEntryText(const std::string& executablePath) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Vistrel\n"
           "GenericName=Camera Setup\n"
           "Comment=Set up an industrial camera over its serial control channel\n"
           "Exec=" +
           quotedExecArgument(executablePath) +
           "\n"
           "Icon=vistrel\n"
           "Terminal=false\n"
           "Categories=Utility;Electronics;Engineering;\n"
           "Keywords=camera;serial;RS-232;Camera Link;frame grabber;machine vision;line scan;\n";
}

FileResult registerDesktopEntry(const std::string& folder, const std::string& executablePath) {
    if (folder.empty()) {
        return FileResult::failure("no applications folder (neither XDG_DATA_HOME nor HOME is set)");
    }
    if (executablePath.find_first_of("\r\n") != std::string::npos) {
        return FileResult::failure("the program's path holds a line break");
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return FileResult::failure(error.message());
    }
    return replaceFileAtomically(folder + "/" + kDesktopEntryName, desktopEntryText(executablePath));
}

FileResult unregisterDesktopEntry(const std::string& folder) {
    if (folder.empty()) {
        return FileResult::failure("no applications folder (neither XDG_DATA_HOME nor HOME is set)");
    }
    const std::string path = folder + "/" + kDesktopEntryName;
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        return FileResult::failure(std::strerror(errno));
    }
    return {};
}

} // namespace vistrel
