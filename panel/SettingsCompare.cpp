#include "panel/SettingsCompare.h"

#include "camera/CamFileLoader.h"
#include "link/Link.h"
#include "panel/CommPanel.h"
#include "panel/DataPanelView.h"
#include "panel/PanelControls.h"
#include "panel/SettingsReply.h"
#include "panel/TextMatch.h"

#include <map>
#include <utility>

namespace vistrel {

namespace {

// Takes every command and accepts it, noting it under the panel step that sent it; nothing leaves
// the process. A command too long to send never reaches it.
class ListeningLink : public Link {
public:
    explicit ListeningLink(const CameraDescription& description) : m_description(description) {}
    void listenTo(const CommPanel& panel) { m_panel = &panel; }
    LinkResult open() override { return {1, "Connection OK", {}}; }
    LinkResult exchange(const std::string& command, int) override {
        if (m_panel != nullptr) {
            sent[m_panel->stepUnderWay().name] = command;
        }
        const std::string reply = ">" + m_description.ackText + "\r";
        return {static_cast<int>(reply.size()), {}, reply};
    }
    LinkResult close() override { return {1, "Connexion Closed", {}}; }

    std::map<std::string, std::string> sent; // by control: the command that reached the link

private:
    const CameraDescription& m_description;
    const CommPanel* m_panel = nullptr;
};

class SilentPrompts : public Prompts {
public:
    PromptAnswer ask(const std::string&, PromptButtons buttons) override {
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::No;
    }
    void tellWithCaption(const std::string&, const std::string&) override {}
    void beep(BeepKind) override {}
};

} // namespace

int SettingsComparison::differ() const {
    int count = 0;
    for (const ControlComparison& row : rows) {
        count += row.same ? 0 : 1;
    }
    return count;
}

std::optional<SettingsComparison> previewPanelApply(const std::string& camFilePath, const PanelState& panel) {
    RunValues values;
    PanelState applied = panel;
    LinkState linkState;
    PanelRecords records;
    ListeningLink link(records.description);
    DataPanelView view;
    SilentPrompts prompts;
    CommPanel commPanel(values, applied, linkState, records, link, view, prompts);
    commPanel.LoadCamFileAt(camFilePath);
    if (!commPanel.descriptionLoaded()) {
        return std::nullopt;
    }
    link.listenTo(commPanel);
    const std::map<std::string, std::string>& sent = link.sent;
    records.connection.CameraConnected = 1;
    commPanel.ApplyPanel();

    SettingsComparison comparison;
    comparison.description = records.description;
    const auto addRow = [&](const std::string& control, const std::string& character, int captionId) {
        if (character.empty()) {
            return;
        }
        ControlComparison row{control, view.get(captionId).caption, character, std::nullopt, std::nullopt, false};
        if (const auto found = sent.find(control); found != sent.end()) {
            row.expected = valueOfPanelCommand(character[0], found->second);
        }
        comparison.rows.push_back(std::move(row));
    };
    const CameraDescription& description = records.description;
    for (int i = 0; i < kComboCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        addRow(comboSection(i), description.combos[at].character, kComboGroupIds[at]);
    }
    for (int i = 0; i < kCheckCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        addRow(checkSection(i), description.checks[at].character, kCheckIds[at]);
    }
    for (int i = 0; i < kListCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        addRow(listSection(i), description.lists[at].character, kListGroupIds[at]);
    }
    return comparison;
}

void compareWithReport(SettingsComparison& comparison, const std::string& report) {
    std::map<std::string, std::string> reported;
    PanelState unused;
    parseCameraSettings(report, comparison.description, unused,
                        [&](const std::string& key, const std::string& value) { reported[key] = value; });
    for (ControlComparison& row : comparison.rows) {
        const auto found = reported.find(row.key);
        row.camera = found == reported.end() ? std::nullopt : std::optional<std::string>(found->second);
        const bool list = row.control.rfind("ListBox", 0) == 0;
        row.same = row.expected && row.camera &&
                   (list ? sameListValue(*row.expected, *row.camera) : *row.expected == *row.camera);
    }
}

} // namespace vistrel
