#include "module/reentry_guard.h"

#include <gtest/gtest.h>

TEST(ReentryGuard, ARunInsideAnotherIsSkippedAndTheGuardReopens) {
  CReentryGuard guard;
  {
    CReentryGuard::Scope outer(guard);
    ASSERT_TRUE(outer.Entered());
    CReentryGuard::Scope inner(guard);
    EXPECT_FALSE(inner.Entered());
  }
  EXPECT_FALSE(guard.Running()) << "a skipped run does not end the outer one";
  CReentryGuard::Scope next(guard);
  EXPECT_TRUE(next.Entered());
}
