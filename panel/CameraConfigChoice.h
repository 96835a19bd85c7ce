#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vistrel {

// What the camera configuration dialog (template 102) shows when it opens.
struct CameraConfigSetup {
    std::vector<std::string> names;            // list 102, in order
    int selected = -1;                         // entry selected at opening (its text goes to the edit field), -1 none
    std::string editText;                      // edit field text when nothing is selected
    bool radioEnabled[3] = {true, true, true}; // 1016, 1017, 1018
    int radioChecked = 0;                      // 0, 1 or 2
};

// What sets the panel after a description is loaded: the camera configuration's three radios, in
// their order, or none of them.
enum class InitChoice { None = -1, SavedValues = 0, CameraSettings = 1, FactorySettings = 2 };

// How the dialog closed with OK (or a double click): the name and the checked radio.
struct CameraConfigAnswer {
    std::string fileName;
    InitChoice initChoice = InitChoice::SavedValues;
};

// Runs the dialog modally; nothing when it was cancelled or closed.
class CameraConfigDialogRunner {
public:
    virtual ~CameraConfigDialogRunner() = default;
    virtual std::optional<CameraConfigAnswer> run(const CameraConfigSetup& setup) = 0;
};

} // namespace vistrel
