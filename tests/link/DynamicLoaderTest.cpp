#include "link/DynamicLoader.h"
#include "support/TempDir.h"
#include "support/TimeLimit.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vistrel {
namespace {

using test::ChildOutcome;
using test::runWithTimeLimit;

// The system loader reads a FIFO as a library and waits for a writer for ever; it must be refused
// before it gets there, as must a device. A real library still loads.
TEST(DynamicLoader, RefusesFifosAndDevicesWithoutBlocking) {
    test::TempDir dir;
    const std::string fifo = dir.path() + "libclserfifo.so";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(runWithTimeLimit(5, [&] { return systemDynamicLoader().open(fifo) == nullptr; }), ChildOutcome::Passed);
    EXPECT_EQ(systemDynamicLoader().open("/dev/zero"), nullptr);
    EXPECT_EQ(systemDynamicLoader().open(dir.path()), nullptr);

    void* handle = systemDynamicLoader().open(CLSERTEST_PATH);
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(systemDynamicLoader().symbol(handle, "clSerialInit"), nullptr);
    EXPECT_TRUE(systemDynamicLoader().close(handle));
}

} // namespace
} // namespace vistrel
