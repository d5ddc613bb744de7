// The locked engine's own operations and its reload.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "dl/engine/locked_settings_engine.h"

namespace DL {
namespace {

TEST(LockedSettingsEngine, OperationsTheFacadeDoesNotOffer) {
  TLockedSettingsEngine locked("[GENERAL]\nINVERTCCPOPERATION=0\n", 2, true);
  EXPECT_FALSE(locked.GetInvertCcpOperation());
  EXPECT_EQ(locked.EchoArgument(-17, 99), -17);
  EXPECT_TRUE(locked.Reload("", 2));
  EXPECT_TRUE(locked.GetInvertCcpOperation());
}

TEST(LockedSettingsEngine, CallsLeaveTheMutexFree) {
  TLockedSettingsEngine locked("", 2, true);
  EXPECT_EQ(locked.Call([](TSettingsEngine& e) { return e.GetClientCVal(); }), 1);
  EXPECT_TRUE(locked.Lock());
  EXPECT_TRUE(locked.Unlock());
  EXPECT_TRUE(locked.SetUserValue(5));
  EXPECT_EQ(locked.Call([](TSettingsEngine& e) { return e.GetUserValue(); }), 5u);
  EXPECT_TRUE(locked.ClearUserValue());
  EXPECT_EQ(locked.Call([](TSettingsEngine& e) { return e.GetUserValue(); }), 0u);
}

TEST(LockedSettingsEngine, FailingQueryReleasesTheMutex) {
  TLockedSettingsEngine locked("", 2, true);
  EXPECT_THROW(locked.Call([](TSettingsEngine&) -> int { throw std::bad_alloc(); }),
               std::bad_alloc);
  EXPECT_FALSE(locked.Unlock());  // nothing left held
  EXPECT_TRUE(locked.Lock());
  EXPECT_TRUE(locked.Unlock());
}

}  // namespace
}  // namespace DL
