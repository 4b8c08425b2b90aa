#include "libs/om/notifications.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace zarn::om {
namespace {

std::mutex g_mutex;
std::map<std::u16string, std::vector<ZarnSettingsCallback>>& Registry() {
  // Never destroyed: a host may unregister from its own exit handlers, after the
  // destructors of this library's statics have run.
  static auto* registry = new std::map<std::u16string, std::vector<ZarnSettingsCallback>>();
  return *registry;
}

}  // namespace

void AddListener(ZarnSettingsCallback callback, const std::u16string& name) {
  std::lock_guard<std::mutex> lock(g_mutex);
  std::vector<ZarnSettingsCallback>& list = Registry()[name];
  if (std::find(list.begin(), list.end(), callback) == list.end()) list.push_back(callback);
}

void RemoveListener(ZarnSettingsCallback callback, const std::u16string* name) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto& registry = Registry();
  for (auto it = registry.begin(); it != registry.end();) {
    if (name == nullptr || it->first == *name) {
      std::erase(it->second, callback);
    }
    it = it->second.empty() ? registry.erase(it) : std::next(it);
  }
}

std::vector<ZarnSettingsCallback> ListenersOf(const std::u16string& name) {
  std::lock_guard<std::mutex> lock(g_mutex);
  const auto& registry = Registry();
  const auto it = registry.find(name);
  return it == registry.end() ? std::vector<ZarnSettingsCallback>() : it->second;
}

}  // namespace zarn::om
