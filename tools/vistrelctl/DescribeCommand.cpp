#include <cstdio>
#include <nlohmann/json.hpp>

#include "camera/CamFileLint.h"
#include "tools/vistrelctl/DisplayText.h"
#include "tools/vistrelctl/Subcommand.h"

namespace vistrel::ctl {

namespace {

using Json = nlohmann::ordered_json;

template <typename Texts> Json textArray(const Texts& texts) {
    Json array = Json::array();
    for (const std::string& text : texts) {
        array.push_back(displayText(text));
    }
    return array;
}

Json toJson(const LintedCamera& linted) {
    const DescribedCamera& described = *linted.described;
    const CameraDescription& record = described.description;
    Json json;
    json["identCommand"] = displayText(record.identCommand);
    json["configCommand"] = displayText(record.configCommand);
    json["factoryCommand"] = displayText(record.factoryCommand);
    json["ackText"] = displayText(record.ackText);
    json["replyTexts"] = textArray(record.replyTexts);
    json["charDelayMs"] = record.CharDelayMs;
    json["combos"] = Json::array();
    for (std::size_t i = 0; i < record.combos.size(); ++i) {
        json["combos"].push_back({{"title", displayText(described.combos[i].title)},
                                  {"character", displayText(record.combos[i].character)},
                                  {"values", textArray(record.combos[i].values)},
                                  {"texts", textArray(described.combos[i].texts)}});
    }
    json["checks"] = Json::array();
    for (std::size_t i = 0; i < record.checks.size(); ++i) {
        json["checks"].push_back({{"title", displayText(described.checks[i].title)},
                                  {"character", displayText(record.checks[i].character)},
                                  {"value1", displayText(record.checks[i].value1)},
                                  {"value2", displayText(record.checks[i].value2)}});
    }
    json["lists"] = Json::array();
    for (std::size_t i = 0; i < record.lists.size(); ++i) {
        json["lists"].push_back({{"title", displayText(described.lists[i].title)},
                                 {"character", displayText(record.lists[i].character)},
                                 {"entries", textArray(described.lists[i].entries)}});
    }
    json["warnings"] = Json::array();
    for (const LintWarning& warning : linted.warnings) {
        json["warnings"].push_back({{"line", warning.line}, {"message", displayText(warning.message)}});
    }
    return json;
}

} // namespace

int runDescribe(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fputs("usage: vistrelctl describe FILE\n", stderr);
        return kExitUsage;
    }
    const LintedCamera linted = lintCamFile(args[0]);
    if (!linted.described) {
        std::fprintf(stderr, "vistrelctl: cannot open %s for reading\n", args[0].c_str());
        return kExitUsage;
    }
    const std::string text = toJson(linted).dump(2) + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitDone;
}

} // namespace vistrel::ctl
