#pragma once

#include <string>
#include <string_view>

namespace vistrel {

// What the transcript window and the watch over the link keep in section "Common": the window's
// place ("Transcript Xpos", "Transcript Ypos", "Transcript Width", "Transcript Height"; a width
// of 0 means never placed), "Auto Reconnect" (default 1) and "Reapply After Reconnect" (default 0).
struct TranscriptSettings {
    int TranscriptXpos = 0;
    int TranscriptYpos = 0;
    int TranscriptWidth = 0;
    int TranscriptHeight = 0;
    int AutoReconnect = 1;
    int ReapplyAfterReconnect = 0;
};

TranscriptSettings readTranscriptSettings(std::string_view settingsContents);

// `text` with the six keys of "Common" replaced or added.
std::string withTranscriptSettings(std::string_view text, const TranscriptSettings& settings);

} // namespace vistrel
