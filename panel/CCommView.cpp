#include "panel/CCommView.h"

#include "ui_CCommView.h"

#include <cmath>

namespace vistrel {

CCommView::CCommView(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::CCommView>()) {
    m_ui->setupUi(this);
    // Form names must be identifiers ("id1014"); the objectName carries the bare control id.
    for (QWidget* child : findChildren<QWidget*>()) {
        const QString name = child->objectName();
        if (name.startsWith(QLatin1String("id")) && name.size() > 2) {
            bool numeric = false;
            name.mid(2).toInt(&numeric);
            if (numeric) {
                child->setObjectName(name.mid(2));
            }
        }
    }
    setFixedSize(static_cast<int>(std::lround(kWidthUnits * 1.5)), static_cast<int>(std::lround(kHeightUnits * 1.625)));
}

CCommView::~CCommView() = default;

} // namespace vistrel
