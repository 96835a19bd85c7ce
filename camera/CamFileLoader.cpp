#include "camera/CamFileLoader.h"

#include <limits>

namespace vistrel {

namespace {

constexpr std::string_view kSpecialSection = "Special Cmd";
constexpr std::string_view kReceiveSection = "Receive message";
constexpr std::string_view kWaitSection = "WaitBetweenChar";

std::string numbered(std::string_view prefix, int number) {
    return std::string(prefix) + std::to_string(number);
}

// A value that does not fit its field is cut to the field's capacity.
void setCapped(std::string& field, const std::string& value, std::size_t capacity, std::string_view key,
               CamFileKeys& keys) {
    field = value.substr(0, capacity);
    if (value.size() > capacity && keys.observer() != nullptr) {
        keys.observer()->valueCut(key, keys.lastLookup(), capacity);
    }
}

void loadCommand(std::string& field, std::string_view key, std::string_view fallback, CamFileKeys& keys) {
    std::string value;
    if (keys.read(kSpecialSection, key, value) > 0) {
        setCapped(field, value, kCommandCapacity, key, keys);
    } else {
        field = fallback;
    }
}

// Title and Character of a control section; the character is empty when missing.
void loadHead(const std::string& section, std::string& title, std::string& character, CamFileKeys& keys) {
    std::string value;
    title = keys.read(section, "Title", value) > 0 ? value : std::string();
    character = keys.read(section, "Character", value) > 0 ? value : std::string();
}

} // namespace

std::optional<CamFileKeys> CamFileKeys::open(const std::string& camFilePath, LoadObserver* observer) {
    std::optional<CamFileSnapshot> snapshot = CamFileSnapshot::read(camFilePath);
    if (!snapshot) {
        return std::nullopt;
    }
    return CamFileKeys(std::move(*snapshot), observer);
}

int CamFileKeys::read(std::string_view section, std::string_view key, std::string& out) {
    m_last = m_index.lookup(section, key);
    if (m_observer != nullptr) {
        m_observer->lookedUp(section, key, m_last);
    }
    out = m_last.value;
    return static_cast<int>(out.size());
}

std::string comboSection(int index) {
    return numbered("ComboBox", index + 1);
}
std::string checkSection(int index) {
    return numbered("Check", index + 1);
}
std::string listSection(int index) {
    return numbered("ListBox", index + 1);
}

long long parseDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr long long kLimit = std::numeric_limits<long long>::max() / 10 - 9;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < kLimit) {
            value = value * 10 + (text[i] - '0');
        }
    }
    return negative ? -value : value;
}

void loadSpecialCommands(CameraDescription& description, CamFileKeys& keys) {
    loadCommand(description.identCommand, "CameraIdent", "!=0", keys);
    loadCommand(description.configCommand, "CameraConf", "!=3", keys);
    loadCommand(description.factoryCommand, "CameraDefault", "!=4", keys);
}

void loadReplyTexts(CameraDescription& description, CamFileKeys& keys) {
    std::string value;
    if (keys.read(kReceiveSection, "String", value) > 0) {
        setCapped(description.ackText, value, kAckCapacity, "String", keys);
    } else {
        description.ackText.clear();
    }
    description.replyTexts[0] = keys.read(kReceiveSection, "NoError", value) > 0 ? value : std::string("OK");
    // Error n goes to slot n + 1; numbering stops at the first missing number or the table's end.
    for (int n = 0; n <= kLastErrorNumber; ++n) {
        if (keys.read(kReceiveSection, numbered("Error", n), value) <= 0) {
            return;
        }
        description.replyTexts[static_cast<std::size_t>(n) + 1] = value;
    }
    if (keys.observer() != nullptr) {
        keys.observer()->replyTableFull();
    }
}

void loadCharDelay(CameraDescription& description, CamFileKeys& keys) {
    std::string value;
    if (keys.read(kWaitSection, "MilliSec", value) <= 0) {
        description.CharDelayMs = kDefaultCharDelayMs;
        return;
    }
    const long long delay = parseDecimal(value);
    if (delay >= 0 && delay <= kMaxCharDelayMs) {
        description.CharDelayMs = static_cast<int>(delay);
    } else if (keys.observer() != nullptr) {
        keys.observer()->delayIgnored(keys.lastLookup(), delay);
    }
}

void loadGeneral(CameraDescription& description, CamFileKeys& keys) {
    loadSpecialCommands(description, keys);
    loadReplyTexts(description, keys);
    loadCharDelay(description, keys);
}

ComboLoad loadCombo(CameraDescription& description, int index, CamFileKeys& keys) {
    ComboLoad load;
    ComboDefinition& combo = description.combos.at(static_cast<std::size_t>(index));
    const std::string section = comboSection(index);
    loadHead(section, load.title, combo.character, keys);
    if (combo.character.empty()) {
        return load;
    }
    // For each n the value comes first, then the text; the texts alone decide where entries end.
    for (int n = 1; n <= kComboEntries; ++n) {
        std::string value;
        const bool hasValue = keys.read(section, numbered("Value", n), value) > 0;
        if (hasValue) {
            combo.values[static_cast<std::size_t>(n) - 1] = value;
        }
        std::string text;
        if (keys.read(section, numbered("Text", n), text) <= 0) {
            break;
        }
        if (!hasValue && keys.observer() != nullptr) {
            keys.observer()->textWithoutValue(index, n, keys.lastLookup());
        }
        load.texts.push_back(std::move(text));
    }
    return load;
}

CheckLoad loadCheck(CameraDescription& description, int index, CamFileKeys& keys) {
    CheckLoad load;
    CheckDefinition& check = description.checks.at(static_cast<std::size_t>(index));
    const std::string section = checkSection(index);
    loadHead(section, load.title, check.character, keys);
    if (check.character.empty()) {
        return load;
    }
    std::string value;
    if (keys.read(section, "Value1", value) > 0) {
        check.value1 = value;
    }
    if (keys.read(section, "Value2", value) > 0) {
        check.value2 = value;
    }
    return load;
}

ListLoad loadList(CameraDescription& description, int index, CamFileKeys& keys) {
    ListLoad load;
    ListDefinition& list = description.lists.at(static_cast<std::size_t>(index));
    const std::string section = listSection(index);
    loadHead(section, load.title, list.character, keys);
    if (list.character.empty()) {
        return load;
    }
    std::string value;
    for (int n = 1; keys.read(section, numbered("Value", n), value) > 0; ++n) {
        load.entries.push_back(value);
    }
    return load;
}

} // namespace vistrel
