#include "settings/TranscriptSettings.h"

#include "platform/Profile.h"
#include "settings/SettingsSections.h"

namespace vistrel {

namespace {

template <typename Fn> void forEachKey(Fn&& fn, auto& settings) {
    fn("Transcript Xpos", settings.TranscriptXpos);
    fn("Transcript Ypos", settings.TranscriptYpos);
    fn("Transcript Width", settings.TranscriptWidth);
    fn("Transcript Height", settings.TranscriptHeight);
    fn("Auto Reconnect", settings.AutoReconnect);
    fn("Reapply After Reconnect", settings.ReapplyAfterReconnect);
}

} // namespace

TranscriptSettings readTranscriptSettings(std::string_view settingsContents) {
    TranscriptSettings settings;
    forEachKey(
        [&](std::string_view key, int& value) { value = readProfileInt(settingsContents, kCommonSection, key, value); },
        settings);
    return settings;
}

std::string withTranscriptSettings(std::string_view text, const TranscriptSettings& settings) {
    std::string out(text);
    forEachKey([&](std::string_view key,
                   const int& value) { out = withProfileString(out, kCommonSection, key, std::to_string(value)); },
               settings);
    return out;
}

} // namespace vistrel
