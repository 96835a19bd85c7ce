#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "camera/CamFileReader.h"
#include "camera/CamFileSnapshot.h"
#include "camera/CamKeyIndex.h"
#include "camera/CameraDescription.h"

namespace vistrel {

// Hears what loading meets, for a lint. Loading behaves the same with or without one.
class LoadObserver {
public:
    virtual ~LoadObserver() = default;
    virtual void lookedUp(std::string_view /*section*/, std::string_view /*key*/, const CamKeyLookup& /*lookup*/) {}
    // The value of the last lookup did not fit its field and was cut to `capacity`.
    virtual void valueCut(std::string_view /*key*/, const CamKeyLookup& /*lookup*/, std::size_t /*capacity*/) {}
    // "MilliSec" converted to `value`, outside 0 to 200, and was ignored.
    virtual void delayIgnored(const CamKeyLookup& /*lookup*/, long long /*value*/) {}
    // Every error slot was filled; numbering stopped at the table's end.
    virtual void replyTableFull() {}
    // Entry `number` of a drop-down list has a text but no value.
    virtual void textWithoutValue(int /*comboIndex*/, int /*number*/, const CamKeyLookup& /*textLookup*/) {}
};

// The keys of one description file, read from one snapshot of it: every read answers as
// ReadCamKey would on the file as it was when it was opened.
class CamFileKeys {
public:
    explicit CamFileKeys(CamFileSnapshot snapshot, LoadObserver* observer = nullptr)
        : m_index(std::move(snapshot)), m_observer(observer) {}

    // Reads the file once; nothing when it cannot be opened.
    static std::optional<CamFileKeys> open(const std::string& camFilePath, LoadObserver* observer = nullptr);

    // As ReadCamKey: the value's length with `out` set to it, 0 with `out` emptied when missing or
    // empty. The observer hears every read.
    int read(std::string_view section, std::string_view key, std::string& out);

    // One lookup the observer does not hear of.
    CamKeyLookup lookup(std::string_view section, std::string_view key) { return m_index.lookup(section, key); }

    LoadObserver* observer() const { return m_observer; }
    const CamKeyLookup& lastLookup() const { return m_last; }

private:
    CamKeyIndex m_index;
    LoadObserver* m_observer = nullptr;
    CamKeyLookup m_last;
};

// What a drop-down list, check box or list shows: the rest of each control lives in the widgets.
struct ComboLoad {
    std::string title;
    std::vector<std::string> texts; // entries in order; empty when the control is undefined
};
struct CheckLoad {
    std::string title;
};
struct ListLoad {
    std::string title;
    std::vector<std::string> entries;
};

// The steps of loading a description, each a whole unit between two pump steps of the panel.
// Control indexes count from 0 ("ComboBox1" is index 0).
void loadSpecialCommands(CameraDescription& description, CamFileKeys& keys);
void loadReplyTexts(CameraDescription& description, CamFileKeys& keys);
void loadCharDelay(CameraDescription& description, CamFileKeys& keys);
// Special commands, reply texts and the character delay, in that order.
void loadGeneral(CameraDescription& description, CamFileKeys& keys);
ComboLoad loadCombo(CameraDescription& description, int index, CamFileKeys& keys);
CheckLoad loadCheck(CameraDescription& description, int index, CamFileKeys& keys);
ListLoad loadList(CameraDescription& description, int index, CamFileKeys& keys);

std::string comboSection(int index);
std::string checkSection(int index);
std::string listSection(int index);

// The decimal conversion "MilliSec" goes through: leading white space and a sign, digits up to
// the first non-digit, 0 without digits; saturates instead of overflowing.
long long parseDecimal(std::string_view text);

} // namespace vistrel
