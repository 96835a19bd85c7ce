#include "app/panel/CCameraConfigDialog.h"

#include "app/panel/DialogUnits.h"
#include "app/panel/EditableList.h"
#include "platform/Prompts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace vistrel {

namespace {

constexpr int kOkId = 1;
constexpr int kCancelId = 2;
constexpr int kFileListId = 102;
constexpr int kRadioIds[3] = {1016, 1017, 1018};
const char* const kRadioCaptions[3] = {"INI file settings", "Camera settings", "Factory settings"};
const char* const kTooLong = "Please enter no more than 50 characters.";

template <typename W> W* placed(W* widget, int id, const QRect& rect) {
    if (id != 0) {
        widget->setObjectName(QString::number(id));
    }
    widget->setGeometry(rect);
    return widget;
}

} // namespace

CCameraConfigDialog::CCameraConfigDialog(Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_prompts(prompts) {
    setWindowTitle(QStringLiteral("Camera configuration "));
    setFont(dialogFont());
    setFixedSize(dialogUnitsAcross(kWidthUnits), dialogUnitsDown(kHeightUnits));

    // Created in tab order.
    auto* ok = placed(new QPushButton(QStringLiteral("OK"), this), kOkId, dialogRect(8, 132, 50, 14));
    ok->setDefault(true);
    auto* cancel = placed(new QPushButton(QStringLiteral("Cancel"), this), kCancelId, dialogRect(72, 132, 50, 14));
    auto* prompt =
        placed(new QLabel(QStringLiteral("Select a Camera Configuration File"), this), 0, dialogRect(3, 4, 125, 12));
    prompt->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_files = placed(new EditableList(this), kFileListId, dialogRect(14, 16, 104, 68));
    for (int i = 0; i < 3; ++i) {
        m_radios[i] = placed(new QRadioButton(QString::fromLatin1(kRadioCaptions[i]), this), kRadioIds[i],
                             dialogRect(31, 88 + 14 * i, 75, 8));
    }

    connect(ok, &QPushButton::clicked, this, &CCameraConfigDialog::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_files, &EditableList::entryDoubleClicked, this, &CCameraConfigDialog::OnDoubleClickList);
}

std::optional<CameraConfigAnswer> CCameraConfigDialog::run(const CameraConfigSetup& setup) {
    OnInitDialog(setup);
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return m_answer;
}

void CCameraConfigDialog::OnInitDialog(const CameraConfigSetup& setup) {
    m_answer = CameraConfigAnswer{};
    m_files->clear();
    for (const std::string& name : setup.names) {
        m_files->insertEntry(-1, name);
    }
    m_files->setEditBytes(setup.editText);
    if (setup.selected >= 0) {
        m_files->select(setup.selected);
    }
    // A disabled radio keeps its check; with no valid choice none is checked.
    for (int i = 0; i < 3; ++i) {
        m_radios[i]->setAutoExclusive(false);
        m_radios[i]->setChecked(i == setup.radioChecked);
        m_radios[i]->setEnabled(setup.radioEnabled[i]);
    }
    for (QRadioButton* radio : m_radios) {
        radio->setAutoExclusive(true);
    }
    m_files->editField()->setFocus();
}

int CCameraConfigDialog::checkedRadio() const {
    for (int i = 0; i < 3; ++i) {
        if (m_radios[i]->isChecked()) {
            return i;
        }
    }
    return -1;
}

void CCameraConfigDialog::OnOK() {
    if (m_files->editField()->text().toUcs4().size() > kFileNameCapacity) {
        m_prompts.tell(kTooLong);
        m_files->editField()->setFocus();
        m_files->editField()->selectAll();
        return;
    }
    m_answer.fileName = m_files->editBytes();
    m_answer.initChoice = static_cast<InitChoice>(checkedRadio());
    accept();
}

void CCameraConfigDialog::OnDoubleClickList(int /*index*/) {
    // Taken as it stands: the selected entry without a length check, the radio only when one is checked.
    m_answer.fileName = m_files->entryBytes(m_files->selection());
    if (const int radio = checkedRadio(); radio >= 0) {
        m_answer.initChoice = static_cast<InitChoice>(radio);
    }
    accept();
}

} // namespace vistrel
