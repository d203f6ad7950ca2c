#include "support/error_trap.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace tarvex;

namespace {

// A procedure without a trap: its failure goes to the caller's trap.
int untrappedHelper(bool fail) {
    if (fail) throw Error(errc::overflow);
    return 1;
}

}  // namespace

TEST(ErrorTrap, FailedStepIsLoggedOnceWithItsNumberAndTheNextStepRuns) {
    ScopedLogCapture log;
    ErrorTrap trap("frmKat5", "CommandEnde_Click");
    int a = 7, b = 0, c = 0;
    EXPECT_TRUE(trap.step(10, [&] { b = 1; }));
    EXPECT_FALSE(trap.step(20, [&] { a = untrappedHelper(true); }));
    EXPECT_TRUE(trap.step(30, [&] { c = 3; }));
    EXPECT_EQ(a, 7);  // the failed step's target keeps its value
    EXPECT_EQ(b + c, 4);
    ASSERT_EQ(log.count(), 1u);
    EXPECT_TRUE(log.contains("Error 6: \r\n\xC3\x9C" "berlauf\r\nZeile: 20\r\n"));
    EXPECT_TRUE(log.contains("-LumDienste- frmKat5.CommandEnde_Click"));
}

TEST(ErrorTrap, ForeignExceptionsAreTrappedToo) {
    ScopedLogCapture log;
    ErrorTrap trap("Rechnung", "Show");
    trap.step(40, [] { throw std::out_of_range("vector"); });
    trap.step(50, [] { throw 42; });
    EXPECT_EQ(trap.failures(), 2);
    EXPECT_EQ(log.count(), 2u);
}
