#include "platform/SaveTemporaryFile.h"
#include "platform/AtomicReplace.h"
#include "platform/Profile.h"
#include "support/TempDir.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vistrel {
namespace {

using test::TempDir;

// A settings file large enough that a save takes a while, ending in a line that only a complete
// file has.
std::string bulkySettings() {
    std::string text = "[Common]\nCounter=0\n[Filler]\n";
    for (int i = 0; i < 20000; ++i) {
        text += "Line" + std::to_string(i) + "=" + std::string(40, 'x') + "\n";
    }
    return text + "[End]\nComplete=1\n";
}

// Saves for ever, each with its own counter values; killed from outside.
[[noreturn]] void saveForEver(const std::string& path, int first) {
    for (int n = first;; n += 2) {
        writeProfileString(path, "Common", "Counter", std::to_string(n));
    }
}

TEST(SaveTemporaryFile, KillsDuringSavesLeaveOneTemporaryAtMostAndAlwaysAWholeFile) {
    TempDir dir;
    const std::string path = dir.write("vistrel.INI", bulkySettings());
    const std::size_t wholeSize = bulkySettings().size();
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {
        // Two saving processes at once, so one also waits while the other holds the temporary file.
        pid_t savers[2] = {};
        for (int i = 0; i < 2; ++i) {
            savers[i] = ::fork();
            ASSERT_GE(savers[i], 0);
            if (savers[i] == 0) {
                saveForEver(path, i);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 30000));
        ::kill(savers[0], SIGKILL);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        ::kill(savers[1], SIGKILL);
        for (const pid_t saver : savers) {
            int status = 0;
            ::waitpid(saver, &status, 0);
        }
        const std::string contents = dir.read("vistrel.INI");
        ASSERT_EQ(readProfileInt(contents, "End", "Complete", 0), 1) << "round " << round;
        ASSERT_GE(contents.size(), wholeSize - 2) << "round " << round;
        ASSERT_LE(test::entriesOf(dir.path()), 2U) << "round " << round;
    }
    // The next save takes the leftover over.
    ASSERT_TRUE(writeProfileString(path, "Common", "Counter", "done").ok);
    EXPECT_EQ(test::entriesOf(dir.path()), 1U);
    EXPECT_EQ(getProfileString(path, "Common", "Counter", "", 100), "done");
}

TEST(SaveTemporaryFile, WaitsForTheSaveHoldingItAndRefusesWhatIsNotItsOwn) {
    TempDir dir;
    const std::string target = dir.path() + "vistrel.INI";
    SaveTemporaryFile waiter(target);
    {
        SaveTemporaryFile holder(target);
        ASSERT_TRUE(holder.acquire().ok);
        EXPECT_EQ(holder.path(), dir.path() + ".vistrel.INI.tmp");

        // While it is held, another save waits and then gives up, leaving the held file alone.
        ASSERT_EQ(::write(holder.fd(), "partial", 7), 7);
        EXPECT_FALSE(waiter.acquire(std::chrono::milliseconds(50)).ok);
        EXPECT_EQ(dir.read(".vistrel.INI.tmp"), "partial");

        // Renamed into place while held, as a save does.
        ASSERT_EQ(::rename(holder.path().c_str(), target.c_str()), 0);
    }
    // The waiter then does not take the renamed file, but makes a new one.
    ASSERT_TRUE(waiter.acquire().ok);
    EXPECT_EQ(dir.read("vistrel.INI"), "partial");
    EXPECT_EQ(dir.read(".vistrel.INI.tmp"), "");
    waiter.discard();
    EXPECT_EQ(test::entriesOf(dir.path()), 1U);

    // A symbolic link in its place is never followed.
    const std::string elsewhere = dir.write("elsewhere", "keep");
    ASSERT_EQ(::symlink(elsewhere.c_str(), (dir.path() + ".vistrel.INI.tmp").c_str()), 0);
    EXPECT_FALSE(replaceFileAtomically(target, "[S]\n").ok);
    EXPECT_EQ(dir.read("elsewhere"), "keep");
    EXPECT_EQ(dir.read("vistrel.INI"), "partial");
}

} // namespace
} // namespace vistrel
