// The transcript window as a log: it opens at the newest row and follows new ones, unless the user
// scrolled up to read.
#include "app/TranscriptWindow.h"
#include "app/TranscriptModel.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <gtest/gtest.h>

namespace vistrel {
namespace {

void addExchanges(TranscriptModel& model, int count) {
    for (int i = 0; i < count; ++i) {
        LinkEvent event;
        event.command = "G=" + std::to_string(i);
        event.hasCommand = true;
        model.onLinkEvent(event);
    }
    model.flush();
    QApplication::processEvents();
}

TEST(TranscriptWindow, OpensAtTheNewestRowAndFollowsUnlessScrolledUp) {
    TranscriptModel model;
    TranscriptSettings settings;
    test::ScriptedPrompts prompts;
    addExchanges(model, 300);
    TranscriptWindow window(model, settings, prompts);
    window.show();
    QApplication::processEvents();
    QScrollBar* scroll = window.table()->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 0);
    EXPECT_EQ(scroll->value(), scroll->maximum());

    addExchanges(model, 5);
    EXPECT_EQ(scroll->value(), scroll->maximum());

    scroll->setValue(10);
    addExchanges(model, 5);
    EXPECT_EQ(scroll->value(), 10);

    // Closed while rows came, and opened again: the newest rows once more.
    window.hide();
    addExchanges(model, 50);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(scroll->value(), scroll->maximum());
}

} // namespace
} // namespace vistrel
