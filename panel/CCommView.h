#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class CCommView;
}

namespace vistrel {

// The panel: a fixed form of 313 x 255 dialog units shown in the frame's scroll area. Its controls
// are filled from a camera description once one is loaded.
class CCommView : public QWidget {
    Q_OBJECT

public:
    // Dialog units of the form's font: 1.5 px across, 1.625 px down.
    static constexpr int kWidthUnits = 313;
    static constexpr int kHeightUnits = 255;

    explicit CCommView(QWidget* parent = nullptr);
    ~CCommView() override;

private:
    std::unique_ptr<Ui::CCommView> m_ui;
};

} // namespace vistrel
