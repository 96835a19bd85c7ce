#pragma once

#include "panel/CameraConfigChoice.h"

#include <QDialog>

class QRadioButton;

namespace vistrel {

class EditableList;
class Prompts;

// The camera configuration dialog (template 102): the description file to load and how the panel is
// to be initialised. Created for one run of the camera configuration command.
class CCameraConfigDialog : public QDialog, public CameraConfigDialogRunner {
    Q_OBJECT

public:
    static constexpr int kWidthUnits = 132;
    static constexpr int kHeightUnits = 153;
    // Longest file name OK accepts.
    static constexpr int kFileNameCapacity = 50;

    explicit CCameraConfigDialog(Prompts& prompts, QWidget* parent = nullptr);

    // Shows `setup`, runs modally; the answer of OK or a double click, nothing for Cancel.
    std::optional<CameraConfigAnswer> run(const CameraConfigSetup& setup) override;

    // Fills the controls from `setup`; run() does it before the dialog shows.
    void OnInitDialog(const CameraConfigSetup& setup);

public slots:
    void OnOK();
    void OnDoubleClickList(int index);

private:
    int checkedRadio() const;

    Prompts& m_prompts;
    EditableList* m_files = nullptr;
    QRadioButton* m_radios[3] = {};
    CameraConfigAnswer m_answer;
};

} // namespace vistrel
