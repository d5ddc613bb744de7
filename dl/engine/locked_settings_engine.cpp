#include "dl/engine/locked_settings_engine.h"

namespace DL {

TLockedSettingsEngine::TGuard::TGuard(TThreadMutex& mutex) : mutex_(mutex), held_(false) {
  if (!mutex_.IsEnabled()) return;
  // A failed wait means another thread still holds the engine: wait again.
  while (!mutex_.Lock()) {
  }
  held_ = true;
}

TLockedSettingsEngine::TGuard::~TGuard() {
  if (held_) mutex_.Unlock();
}

bool TLockedSettingsEngine::TGuard::Release() {
  held_ = false;
  return mutex_.Unlock();
}

TLockedSettingsEngine::TLockedSettingsEngine(const char* source, std::uint32_t mode,
                                             bool lockingEnabled)
    : mutex(lockingEnabled),
      engine(std::make_unique<TSettingsEngine>(source, static_cast<int>(mode))) {}

bool TLockedSettingsEngine::Reload(const char* source, std::uint32_t mode) {
  TGuard guard(mutex);
  auto fresh = std::make_unique<TSettingsEngine>(source, static_cast<int>(mode));
  engine.swap(fresh);
  return true;
}

bool TLockedSettingsEngine::SetUserValue(std::uint32_t value) {
  TGuard guard(mutex);
  engine->SetUserValue(value);
  return guard.Release();
}

bool TLockedSettingsEngine::ClearUserValue() {
  TGuard guard(mutex);
  engine->ClearUserValue();
  return guard.Release();
}

bool TLockedSettingsEngine::GetInvertCcpOperation() {
  return Call([](TSettingsEngine& e) { return e.GetInvertCcpOperation(); });
}

int TLockedSettingsEngine::EchoArgument(int value, std::uint32_t extra) {
  return Call([&](TSettingsEngine& e) { return e.EchoArgument(value, extra); });
}

}  // namespace DL
