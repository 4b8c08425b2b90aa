#include "libs/om/notifications.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace zarn::om {
namespace {

using Registry = std::map<std::u16string, std::vector<ZarnSettingsCallback>>;

// Both have trivial destructors, so a host may still unregister from its own exit
// handlers after this library's static destructors ran. The table exists only
// while someone is registered: it is made by the first registration and freed
// when the last one is removed, so an unloaded library leaves nothing behind.
std::mutex g_mutex;
Registry* g_registry = nullptr;

}  // namespace

void AddListener(ZarnSettingsCallback callback, const std::u16string& name) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_registry == nullptr) g_registry = new Registry();
  std::vector<ZarnSettingsCallback>& list = (*g_registry)[name];
  if (std::find(list.begin(), list.end(), callback) == list.end()) list.push_back(callback);
}

void RemoveListener(ZarnSettingsCallback callback, const std::u16string* name) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_registry == nullptr) return;
  for (auto it = g_registry->begin(); it != g_registry->end();) {
    if (name == nullptr || it->first == *name) std::erase(it->second, callback);
    it = it->second.empty() ? g_registry->erase(it) : std::next(it);
  }
  if (g_registry->empty()) {
    delete g_registry;
    g_registry = nullptr;
  }
}

std::vector<ZarnSettingsCallback> ListenersOf(const std::u16string& name) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_registry == nullptr) return {};
  const auto it = g_registry->find(name);
  return it == g_registry->end() ? std::vector<ZarnSettingsCallback>() : it->second;
}

}  // namespace zarn::om
