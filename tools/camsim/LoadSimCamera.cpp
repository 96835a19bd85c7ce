#include "camera/CamFileDescribe.h"
#include "tools/camsim/CameraModel.h"

namespace vistrel::camsim {

bool LoadSimCamera(const std::string& camPath, SimCamera& camera, std::string& error) {
    std::optional<DescribedCamera> described = describeCamFile(camPath);
    if (!described) {
        error = "cannot read the camera description " + camPath;
        return false;
    }
    const CameraDescription& description = described->description;
    SimCamera result;
    result.identCommand = description.identCommand;
    result.configCommand = description.configCommand;
    result.factoryCommand = description.factoryCommand;
    // A description without an acknowledge text accepts any reply; "OK" also lets the
    // identification after connecting recognise the camera.
    result.ackText = description.ackText.empty() ? "OK" : description.ackText;
    std::string name = camPath.substr(camPath.find_last_of('/') + 1);
    result.modelLine = "CamSim " + name.substr(0, name.rfind('.'));
    for (int slot = 1; slot < kReplySlots && !description.replyTexts[static_cast<std::size_t>(slot)].empty(); ++slot)
        result.errorNumbers.push_back(slot - 1);

    for (std::size_t i = 0; i < description.combos.size(); ++i) {
        const ComboDefinition& combo = description.combos[i];
        if (combo.character.empty())
            continue;
        SimControl control{SimControl::Kind::Combo, combo.character, {}, {}};
        // The values a user can pick are those of the entries the panel shows.
        for (std::size_t n = 0; n < described->combos[i].texts.size() && n < combo.values.size(); ++n)
            control.allowed.push_back(combo.values[n]);
        control.startValue = control.allowed.empty() ? std::string() : control.allowed.front();
        result.controls.push_back(std::move(control));
    }
    for (const CheckDefinition& check : description.checks) {
        if (!check.character.empty())
            result.controls.push_back(
                {SimControl::Kind::Check, check.character, {check.value1, check.value2}, check.value1});
    }
    for (std::size_t i = 0; i < description.lists.size(); ++i) {
        if (description.lists[i].character.empty())
            continue;
        const std::vector<std::string>& entries = described->lists[i].entries;
        result.controls.push_back(
            {SimControl::Kind::List, description.lists[i].character, entries, entries.empty() ? "0" : entries.front()});
    }
    camera = std::move(result);
    return true;
}

} // namespace vistrel::camsim
