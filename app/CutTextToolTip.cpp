#include "app/CutTextToolTip.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolTip>

namespace vistrel {

namespace {

constexpr const char* kExplanationProperty = "vistrelExplanation";

// A button's or a group box's text as shown: "&&" is one '&', a lone '&' marks a shortcut.
QString shownText(const QString& text) {
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && ++i == text.size()) {
            break;
        }
        shown += text[i];
    }
    return shown;
}

// The widget's text as shown and the width it is given to show it in.
std::pair<QString, int> textAndRoom(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return {label->text(), label->contentsRect().width() - 2 * label->margin()};
    }
    if (const auto* check = qobject_cast<const QCheckBox*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(check);
        option.text = check->text();
        const QRect contents = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
        return {shownText(check->text()), contents.width()};
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        // The title sits inside the frame, a few pixels in from each side.
        return {shownText(group->title()), group->width() - 2 * group->fontMetrics().averageCharWidth()};
    }
    return {QString(), 0};
}

} // namespace

void CutTextToolTip::install(QWidget* widget) {
    widget->installEventFilter(new CutTextToolTip(widget));
}

void CutTextToolTip::setExplanation(QWidget* widget, const QString& explanation) {
    widget->setProperty(kExplanationProperty, explanation);
}

QString CutTextToolTip::toolTipOf(const QWidget* widget) {
    const auto [text, room] = textAndRoom(widget);
    const bool cut = !text.isEmpty() && widget->fontMetrics().horizontalAdvance(text) > room;
    const QString explanation = widget->property(kExplanationProperty).toString();
    if (explanation.isEmpty()) {
        return cut ? text : QString();
    }
    return text.isEmpty() ? explanation : text + QLatin1Char('\n') + explanation;
}

bool CutTextToolTip::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    const QString tip = toolTipOf(widget);
    if (tip.isEmpty()) {
        QToolTip::hideText();
    } else {
        // Texts of a camera or a description are shown as they are, never taken as markup.
        const QString shown =
            QStringLiteral("<qt>") + tip.toHtmlEscaped().replace(QLatin1Char('\n'), "<br>") + QStringLiteral("</qt>");
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), shown, widget);
    }
    return true;
}

} // namespace vistrel
