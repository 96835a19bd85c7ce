// The user's actions on the panel's controls, handed to the panel logic. Kept apart from the
// widgets so that the form can be built and shown without the logic.
#include "app/panel/CCommView.h"
#include "panel/CommPanel.h"
#include "panel/PanelControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace vistrel {

void CCommView::setPanel(CommPanel* panel) {
    m_panel = panel;
    if (!m_forwarding) {
        m_forwarding = true;
        forwardNotifications();
    }
}

void CCommView::forwardNotifications() {
    // A selection the user makes (not one set by the logic) is the drop-down's change.
    for (int k = 0; k < kComboCount; ++k) {
        connect(m_combos.value(kComboIds[static_cast<std::size_t>(k)]), &QComboBox::activated, this, [this, k] {
            if (m_panel != nullptr) {
                m_panel->OnComboChanged(k);
            }
        });
    }
    for (int k = 0; k < kCheckCount; ++k) {
        connect(m_checks.value(kCheckIds[static_cast<std::size_t>(k)]), &QCheckBox::clicked, this, [this, k] {
            if (m_panel != nullptr) {
                m_panel->OnCheckClicked(k);
            }
        });
    }
    for (int k = 0; k < kListCount; ++k) {
        connect(findChild<QPushButton*>(QString::number(kApplyIds[static_cast<std::size_t>(k)])), &QPushButton::clicked,
                this, [this, k] {
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
