// Reports of the catalog manager to the trace library: category "ZARN Component",
// source "zarn_catalog_manager_x". Arguments: UTF-8 strings for %s, int32_t for %d.
// A failing trace never fails the caller.
#ifndef ZARN_EXTERNAL_TRACE_H_
#define ZARN_EXTERNAL_TRACE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "platform/strings.h"
#include "zarn/trace.h"

namespace zarn {

inline constexpr int32_t kTraceError = ZARN_TRACE_ERROR;
inline constexpr int32_t kTraceWarning = ZARN_TRACE_WARNING;
inline constexpr int32_t kTraceInfo = ZARN_TRACE_INFO;

// Trace category and source of every report of the catalog manager.
inline constexpr std::u16string_view kTraceCategory = u"ZARN Component";
inline constexpr std::u16string_view kTraceSource = u"zarn_catalog_manager_x";

namespace trace_detail {
inline std::u16string Convert(std::string_view s) { return ToUtf16(s); }
inline std::u16string Convert(const std::string& s) { return ToUtf16(s); }
inline std::u16string Convert(const char* s) { return ToUtf16(s != nullptr ? s : ""); }
template <typename T, typename = std::enable_if_t<std::is_integral_v<T>>>
int32_t Convert(T v) {
  return static_cast<int32_t>(v);
}
inline const char16_t* Pass(const std::u16string& s) { return s.c_str(); }
inline int32_t Pass(int32_t v) { return v; }
}  // namespace trace_detail

template <typename... Args>
void Trace(int32_t level, std::string_view function, std::string_view format, const Args&... args) {
  try {
    auto converted = std::make_tuple(trace_detail::Convert(args)...);
    const std::u16string f = ToUtf16(function);
    const std::u16string fmt = ToUtf16(format);
    std::apply(
        [&](const auto&... c) {
          ZARN_DoTrace(level, kTraceCategory.data(), kTraceSource.data(), f.c_str(), fmt.c_str(),
                       trace_detail::Pass(c)...);
        },
        converted);
  } catch (...) {
    // Tracing is best effort.
  }
}

}  // namespace zarn

#endif  // ZARN_EXTERNAL_TRACE_H_
