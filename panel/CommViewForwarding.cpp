// The user's actions on the panel's controls, handed to the panel logic. Kept apart from the
// widgets so that the form can be built and shown without the logic.
#include "panel/CCommView.h"
#include "panel/CommPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace vistrel {

namespace {

// Controls of "ComboBox1".."ComboBox8", "Check1".."Check4", the Apply buttons of "ListBox1".."ListBox5".
constexpr int kComboIds[] = {1029, 1024, 1028, 1030, 1033, 1034, 1038, 1037};
constexpr int kCheckIds[] = {1031, 1032, 1035, 1036};
constexpr int kApplyIds[] = {1046, 1047, 1048, 1049, 1050};
constexpr int kSendId = 1051;

} // namespace

void CCommView::setPanel(CommPanel* panel) {
    m_panel = panel;
    if (!m_forwarding) {
        m_forwarding = true;
        forwardNotifications();
    }
}

void CCommView::forwardNotifications() {
    // A selection the user makes (not one set by the logic) is the drop-down's change.
    for (int k = 0; k < static_cast<int>(std::size(kComboIds)); ++k) {
        connect(m_combos.value(kComboIds[k]), &QComboBox::activated, this, [this, k] {
            if (m_panel != nullptr) {
                m_panel->OnComboChanged(k);
            }
        });
    }
    for (int k = 0; k < static_cast<int>(std::size(kCheckIds)); ++k) {
        connect(m_checks.value(kCheckIds[k]), &QCheckBox::clicked, this, [this, k] {
            if (m_panel != nullptr) {
                m_panel->OnCheckClicked(k);
            }
        });
    }
    for (int k = 0; k < static_cast<int>(std::size(kApplyIds)); ++k) {
        connect(findChild<QPushButton*>(QString::number(kApplyIds[k])), &QPushButton::clicked, this, [this, k] {
            if (m_panel != nullptr) {
                m_panel->OnApplyList(k);
            }
        });
    }
    connect(findChild<QPushButton*>(QString::number(kSendId)), &QPushButton::clicked, this, [this] {
        if (m_panel != nullptr) {
            m_panel->OnSendFreeText();
        }
    });
}

} // namespace vistrel
