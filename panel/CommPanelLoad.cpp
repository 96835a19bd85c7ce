#include "camera/CamFileLoader.h"
#include "panel/CommPanel.h"
#include "panel/PanelControls.h"
#include "platform/FileLocations.h"

namespace vistrel {

namespace {

// Marks a load or an apply as running for as long as it runs, nested ones included.
class SequenceMark {
public:
    explicit SequenceMark(bool& running) : m_running(running), m_before(running) { m_running = true; }
    ~SequenceMark() { m_running = m_before; }
    SequenceMark(const SequenceMark&) = delete;
    SequenceMark& operator=(const SequenceMark&) = delete;

private:
    bool& m_running;
    bool m_before;
};

} // namespace

void CommPanel::LoadCamFileAt(const std::string& camFilePath) {
    m_values.CamFilePath = camFilePath;
    loadDescription(camFilePath);
}

void CommPanel::LoadCamFile() {
    m_values.CamFilePath = resolveCamFilePath(m_values, m_values.CamFileName);
    loadDescription(m_values.CamFilePath);
}

void CommPanel::loadDescription(const std::string& camFilePath) {
    // The whole load reads from one snapshot of the file: the file is read once.
    std::optional<CamFileKeys> opened = CamFileKeys::open(camFilePath);
    if (!opened) {
        m_records.LoadedTitle.assign(1, ' ');
        return;
    }
    CamFileKeys& keys = *opened;
    const SequenceMark mark(m_records.SequenceRunning);
    // Appended piece by piece: g++ 12 misreads the concatenation as an overlapping copy.
    std::string title = " ";
    title.append(m_values.CamFileName).append("  loaded");
    m_records.LoadedTitle = std::move(title);
    // A new description replaces the old one whole: nothing of the previous file is sent again.
    CameraDescription& description = m_records.description;
    description = CameraDescription{};
    loadGeneral(description, keys);
    if (pumpReportsEscape()) {
        return;
    }
    for (int i = 0; i < kComboCount; ++i) {
        const ComboLoad load = loadCombo(description, i, keys);
        const int id = kComboIds[static_cast<std::size_t>(i)];
        m_view.setCaption(kComboGroupIds[static_cast<std::size_t>(i)], load.title);
        m_view.clearEntries(id);
        m_view.setEnabled(id, false);
        if (!description.combos[static_cast<std::size_t>(i)].character.empty()) {
            for (std::size_t n = 0; n < load.texts.size(); ++n) {
                m_view.insertEntry(id, static_cast<int>(n), load.texts[n]);
            }
            m_view.setEnabled(id, true);
        }
        if (pumpReportsEscape()) {
            return;
        }
    }
    for (int i = 0; i < kCheckCount; ++i) {
        const CheckLoad load = loadCheck(description, i, keys);
        const int id = kCheckIds[static_cast<std::size_t>(i)];
        m_view.setCaption(id, load.title);
        m_view.setChecked(id, false);
        m_view.setEnabled(id, !description.checks[static_cast<std::size_t>(i)].character.empty());
        if (pumpReportsEscape()) {
            return;
        }
    }
    for (int i = 0; i < kListCount; ++i) {
        const ListLoad load = loadList(description, i, keys);
        const auto at = static_cast<std::size_t>(i);
        m_view.setCaption(kListGroupIds[at], load.title);
        m_view.clearEntries(kListIds[at]);
        m_view.setEnabled(kListIds[at], false);
        m_view.setEnabled(kApplyIds[at], false);
        if (!description.lists[at].character.empty()) {
            for (std::size_t n = 0; n < load.entries.size(); ++n) {
                m_view.insertEntry(kListIds[at], static_cast<int>(n), load.entries[n]);
            }
            m_view.setEnabled(kListIds[at], true);
            m_view.setEnabled(kApplyIds[at], true);
        }
        if (pumpReportsEscape()) {
            return;
        }
    }
    m_view.setEnabled(kSendId, true);
    m_prompts.beep(BeepKind::Exclamation);
    writeControls();
}

} // namespace vistrel
