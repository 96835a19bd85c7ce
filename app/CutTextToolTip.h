#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace vistrel {

// The fixed layout cuts long texts (a check box caption from a camera description, status bar pane
// 0). Installed on such a widget, this shows the whole text in its tooltip when it is cut, followed
// by an explanation when one is set (why a connection failed).
class CutTextToolTip : public QObject {
public:
    // Installs the tooltip on a QLabel, a QCheckBox or a QGroupBox; the widget owns it.
    static void install(QWidget* widget);
    // The explanation shown under the text, whether cut or not; empty for none.
    static void setExplanation(QWidget* widget, const QString& explanation);
    // What the tooltip shows now; empty when the text is whole and nothing is to be explained.
    static QString toolTipOf(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

} // namespace vistrel
