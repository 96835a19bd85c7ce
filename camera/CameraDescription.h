#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "camera/ControlCounts.h"

namespace vistrel {

inline constexpr std::size_t kCommandCapacity = 31; // identCommand, configCommand, factoryCommand
inline constexpr std::size_t kAckCapacity = 29;     // ackText
inline constexpr int kReplySlots = 20;              // "NoError", then Error0 to Error18
inline constexpr int kLastErrorNumber = kReplySlots - 2;
inline constexpr int kComboSlots = 30;   // value slots of a drop-down list
inline constexpr int kComboEntries = 29; // entries a file can give a drop-down list
inline constexpr int kDefaultCharDelayMs = 75;
inline constexpr int kMaxCharDelayMs = 200;

struct ComboDefinition {
    std::string character;                       // defined when not empty
    std::array<std::string, kComboSlots> values; // slot n - 1 is sent for entry n
};

struct CheckDefinition {
    std::string character;
    std::string value1; // sent when the box is cleared
    std::string value2; // sent when the box is checked
};

struct ListDefinition {
    std::string character; // the entries themselves are what is sent
};

// What the program holds of the current camera. The panel loads each file into a fresh record;
// the loading steps overwrite it key by key.
struct CameraDescription {
    std::string identCommand = "!=0";
    std::string configCommand;
    std::string factoryCommand;
    std::string ackText;
    std::array<std::string, kReplySlots> replyTexts; // slot 0 "NoError", slot n + 1 error n
    int CharDelayMs = kDefaultCharDelayMs;
    std::array<ComboDefinition, kComboCount> combos;
    std::array<CheckDefinition, kCheckCount> checks;
    std::array<ListDefinition, kListCount> lists;
};

} // namespace vistrel
