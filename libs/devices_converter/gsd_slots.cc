#include "libs/devices_converter/gsd_slots.h"

#include <algorithm>
#include <cctype>

#include "platform/strings.h"

namespace zarn::converters {
namespace {

// Reads a number at *pos (skipping blanks); advances past it.
std::optional<uint32_t> NumberAt(const std::string& text, size_t* pos) {
  while (*pos < text.size() && (text[*pos] == ' ' || text[*pos] == '\t')) ++*pos;
  const size_t start = *pos;
  while (*pos < text.size() && (std::isalnum(static_cast<unsigned char>(text[*pos])) != 0)) ++*pos;
  return ParseGsdNumber(std::string_view(text).substr(start, *pos - start));
}

// "1,3 5-7": references and ranges, separated by commas or blanks.
bool ParseAllowed(const std::string& text, std::vector<std::pair<uint32_t, uint32_t>>* out) {
  size_t pos = 0;
  while (true) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == ',')) ++pos;
    if (pos == text.size()) return true;
    const auto low = NumberAt(text, &pos);
    if (!low) return false;
    uint32_t high = *low;
    size_t dash = pos;
    while (dash < text.size() && (text[dash] == ' ' || text[dash] == '\t')) ++dash;
    if (dash < text.size() && text[dash] == '-') {
      pos = dash + 1;
      const auto to = NumberAt(text, &pos);
      if (!to || *to < *low) return false;
      high = *to;
    }
    out->emplace_back(*low, high);
  }
}

// Joins spans that overlap or touch; the result is ascending.
std::vector<SlotSpan> Merged(std::vector<SlotSpan> spans) {
  std::sort(spans.begin(), spans.end(), [](const SlotSpan& a, const SlotSpan& b) { return a.first < b.first; });
  std::vector<SlotSpan> out;
  for (const SlotSpan& s : spans) {
    if (!out.empty() && uint64_t{s.first} <= uint64_t{out.back().last} + 1) {
      out.back().last = std::max(out.back().last, s.last);
    } else {
      out.push_back(s);
    }
  }
  return out;
}

// The span minus the (ascending) slots in `taken`.
std::vector<SlotSpan> Without(SlotSpan span, const std::vector<uint32_t>& taken) {
  std::vector<SlotSpan> out;
  uint64_t next = span.first;
  for (const uint32_t t : taken) {
    if (t < next || t > span.last) continue;
    if (t > next) out.push_back({static_cast<uint32_t>(next), t - 1});
    next = uint64_t{t} + 1;
  }
  if (next <= span.last) out.push_back({static_cast<uint32_t>(next), span.last});
  return out;
}

class Planner {
 public:
  explicit Planner(const GsdStation& s) : s_(s) {}

  std::optional<GsdSlotPlan> Run() {
    if (!StationSpan()) return std::nullopt;
    FixPresets();
    std::vector<uint32_t> taken = fixed_slots_;
    for (const GsdSlot& slot : s_.slots) taken.push_back(slot.number);
    std::sort(taken.begin(), taken.end());
    const std::vector<SlotSpan> open = Without(plan_.station, taken);
    for (size_t i = 0; i < s_.modules.size(); ++i) {
      GsdModuleSlots& m = plan_.modules[i];
      if (!m.fixed) m.spans = Merged(Concat(open, NamedSlots(s_.modules[i])));
    }
    return plan_;
  }

 private:
  bool StationSpan() {
    const uint32_t first = s_.modul_offset.value_or(1);
    if (s_.max_module && *s_.max_module > 0) {
      const uint64_t last = uint64_t{first} + *s_.max_module - 1;
      plan_.station = {first, static_cast<uint32_t>(std::min<uint64_t>(last, UINT32_MAX))};
      return true;
    }
    if (s_.slots.empty()) return false;
    const auto [low, high] = std::minmax_element(
        s_.slots.begin(), s_.slots.end(), [](const GsdSlot& a, const GsdSlot& b) { return a.number < b.number; });
    plan_.station = {low->number, high->number};
    return true;
  }

  // Preset modules in file order; with FixPresetModules each takes the next slot.
  void FixPresets() {
    plan_.modules.resize(s_.modules.size());
    uint64_t next = plan_.station.first;
    for (size_t i = 0; i < s_.modules.size(); ++i) {
      GsdModuleSlots& m = plan_.modules[i];
      m.preset = s_.modules[i].preset;
      if (!m.preset || !s_.fix_preset_modules || next > UINT32_MAX) continue;
      m.fixed = true;
      m.spans = {{static_cast<uint32_t>(next), static_cast<uint32_t>(next)}};
      fixed_slots_.push_back(static_cast<uint32_t>(next++));
      ++plan_.fixed_modules;
    }
  }

  // The defined slots that take the module and that no preset holds.
  std::vector<SlotSpan> NamedSlots(const GsdModuleInfo& module) const {
    std::vector<SlotSpan> out;
    if (!module.reference) return out;
    for (const GsdSlot& slot : s_.slots) {
      const bool held = std::find(fixed_slots_.begin(), fixed_slots_.end(), slot.number) != fixed_slots_.end();
      if (!held && slot.Takes(*module.reference)) out.push_back({slot.number, slot.number});
    }
    return out;
  }

  static std::vector<SlotSpan> Concat(std::vector<SlotSpan> a, const std::vector<SlotSpan>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }

  const GsdStation& s_;
  GsdSlotPlan plan_;
  std::vector<uint32_t> fixed_slots_;
};

}  // namespace

bool GsdSlot::Takes(uint32_t reference) const {
  if (reference == default_module) return true;
  return std::any_of(allowed.begin(), allowed.end(),
                     [&](const auto& r) { return reference >= r.first && reference <= r.second; });
}

bool ParseGsdSlot(const GsdEntry& entry, GsdSlot* slot, std::string* error) {
  const auto number = ParseGsdNumber(entry.index);
  if (!number) {
    *error = "slot number expected";
    return false;
  }
  std::string rest;
  auto name = ParseGsdString(entry.value, &rest);
  if (!name) {
    *error = "quoted slot name expected";
    return false;
  }
  size_t pos = 0;
  const auto default_module = NumberAt(rest, &pos);
  if (!default_module || !ParseAllowed(rest.substr(pos), &slot->allowed)) {
    *error = "default module and allowed modules expected";
    return false;
  }
  slot->number = *number;
  slot->name = std::move(*name);
  slot->default_module = *default_module;
  slot->line = entry.line;
  return true;
}

std::optional<GsdSlotPlan> PlanGsdSlots(const GsdStation& station) { return Planner(station).Run(); }

}  // namespace zarn::converters
