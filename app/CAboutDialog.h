#pragma once

#include "shell/SystemFacts.h"

#include <QDialog>
#include <memory>

namespace Ui {
class AboutDialog;
}

namespace vistrel {

// The About box: the program's name and version, and the installed memory and free disk space of
// the moment. Made for one showing; the figures come from `queries` when it is made.
class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(SystemQueries queries, QWidget* parent = nullptr);
    ~CAboutDialog() override;

private:
    void OnInitDialog();

    std::unique_ptr<Ui::AboutDialog> m_ui;
    SystemQueries m_queries;
};

} // namespace vistrel
