#include "panel/SettingsReply.h"

#include "panel/TextMatch.h"
#include "settings/ListValue.h"

namespace vistrel {

namespace {

// An undefined control has no text to match, and an empty key matches nothing.
bool keyMatches(const std::string& key, const std::string& character) {
    return !key.empty() && key == character;
}

void applySetting(const std::string& key, const std::string& value, const CameraDescription& description,
                  PanelState& panel) {
    for (std::size_t k = 0; k < description.combos.size(); ++k) {
        const ComboDefinition& combo = description.combos[k];
        if (!keyMatches(key, combo.character)) {
            continue;
        }
        for (std::size_t slot = 0; slot < combo.values.size(); ++slot) {
            if (combo.values[slot] == value) {
                panel.ComboBox[k] = static_cast<int>(slot);
                break;
            }
        }
    }
    for (std::size_t k = 0; k < description.checks.size(); ++k) {
        if (keyMatches(key, description.checks[k].character)) {
            panel.Check[k] = value == description.checks[k].value1 ? 0 : 1;
        }
    }
    for (std::size_t k = 0; k < description.lists.size(); ++k) {
        if (keyMatches(key, description.lists[k].character)) {
            // A reported 0 is a value, unlike a list saved without one.
            if (std::optional<std::string> kept = listStateText(value)) {
                panel.ListBox[k] = std::move(*kept);
            }
        }
    }
}

} // namespace

void parseCameraSettings(const std::string& reply, const CameraDescription& description, PanelState& panel,
                         const std::function<void(const std::string&, const std::string&)>& heard) {
    std::string remaining = reply;
    // The text after a value still holds the next key, behind the CR that ends the value.
    for (std::size_t equals = remaining.find('='); equals != std::string::npos && equals != 0;
         equals = remaining.find('=')) {
        std::string key = remaining.substr(0, equals);
        if (const std::size_t cr = key.find('\r'); cr != std::string::npos) {
            key = key.substr(cr + 1);
        }
        remaining = remaining.substr(equals + 1);
        const std::size_t cr = remaining.find('\r');
        const std::string value = cr == std::string::npos ? std::string() : remaining.substr(0, cr);
        if (heard) {
            heard(key, value);
        }
        applySetting(key, value, description, panel);
    }
}

} // namespace vistrel
