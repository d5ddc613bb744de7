#include "sdk/window_classes.h"

#include <string>
#include <vector>

namespace {
struct RegisteredClass {
  std::string name;
  HINSTANCE instance;
  HICON smallIcon;
};

std::vector<RegisteredClass>& Registered() {
  static std::vector<RegisteredClass> classes;
  return classes;
}
}  // namespace

bool RegisterPluginWindowClass(const WNDCLASSEXA& windowClass) {
  if (RegisterClassExA(&windowClass) != 0) {
    Registered().push_back({windowClass.lpszClassName, windowClass.hInstance, windowClass.hIconSm});
    return true;
  }
  const bool exists = GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  if (windowClass.hIconSm != nullptr) DestroyIcon(windowClass.hIconSm);
  return exists;
}

void UnregisterPluginWindowClasses() {
  std::vector<RegisteredClass>& classes = Registered();
  for (auto it = classes.begin(); it != classes.end();) {
    if (!UnregisterClassA(it->name.c_str(), it->instance)) {
      ++it;
      continue;
    }
    if (it->smallIcon != nullptr) DestroyIcon(it->smallIcon);
    it = classes.erase(it);
  }
}

bool UnregisterPluginWindowClass(const char* name, HINSTANCE instance) {
  std::vector<RegisteredClass>& classes = Registered();
  for (auto it = classes.begin(); it != classes.end(); ++it) {
    if (it->name != name || it->instance != instance) continue;
    if (!UnregisterClassA(name, instance)) return false;
    if (it->smallIcon != nullptr) DestroyIcon(it->smallIcon);
    classes.erase(it);
    return true;
  }
  return false;
}
