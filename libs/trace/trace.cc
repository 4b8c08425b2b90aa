// The trace library: formats entries and writes them where the environment says.
#include "zarn/trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string>

#include "platform/strings.h"

namespace {

struct TraceSettings {
  bool loaded = false;
  std::string file;  // "" = nowhere, "-" = standard error
  int32_t mask = ZARN_TRACE_ERROR | ZARN_TRACE_WARNING;
  ZarnTraceSink sink = nullptr;
  void* sink_context = nullptr;
};

TraceSettings& Settings() {
  static TraceSettings settings;
  return settings;
}

std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}

void LoadSettings(TraceSettings& s) {
  const char* file = std::getenv("ZARN_TRACE_FILE");
  s.file = file != nullptr ? file : "";
  s.mask = ZARN_TRACE_ERROR | ZARN_TRACE_WARNING;
  if (const char* level = std::getenv("ZARN_TRACE_LEVEL"); level != nullptr && *level != '\0') {
    s.mask = static_cast<int32_t>(std::strtol(level, nullptr, 0));
  }
  s.loaded = true;
}

// Expands %s (const char16_t*), %d (int32_t) and %%; anything else is copied.
std::string Format(const char16_t* format, va_list args) {
  std::string out;
  const std::string f = zarn::ToUtf8(format);
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] != '%' || i + 1 >= f.size()) {
      out += f[i];
      continue;
    }
    const char spec = f[++i];
    if (spec == 's') {
      const char16_t* s = va_arg(args, const char16_t*);
      out += s != nullptr ? zarn::ToUtf8(s) : "(null)";
    } else if (spec == 'd') {
      out += std::to_string(va_arg(args, int32_t));
    } else if (spec == '%') {
      out += '%';
    } else {
      out += '%';
      out += spec;
    }
  }
  return out;
}

void WriteLine(const TraceSettings& s, int32_t level, const std::string& function, const std::string& message) {
  FILE* out = s.file == "-" ? stderr : std::fopen(s.file.c_str(), "a");
  if (out == nullptr) return;
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &tm);
  std::string text = message;
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  std::fprintf(out, "%s %d %s: %s\n", stamp, level, function.c_str(), text.c_str());
  if (out != stderr) std::fclose(out);
}

}  // namespace

extern "C" int32_t ZARN_DoTrace(int32_t level, const char16_t* category, const char16_t* source,
                                const char16_t* function, const char16_t* format, ...) {
  try {
    va_list args;
    va_start(args, format);
    const std::string message = format != nullptr ? Format(format, args) : std::string();
    va_end(args);
    std::lock_guard<std::mutex> guard(Lock());
    TraceSettings& s = Settings();
    if (!s.loaded) LoadSettings(s);
    if (s.sink != nullptr) {
      const std::u16string wide = zarn::ToUtf16(message);
      s.sink(s.sink_context, level, category, source, function, wide.c_str());
    }
    if (s.file.empty() || (level & s.mask) == 0) return 0;
    WriteLine(s, level, zarn::ToUtf8(function), message);
    return 0;
  } catch (...) {
    return -1;
  }
}

extern "C" void ZARN_SetTraceSink(ZarnTraceSink sink, void* context) {
  std::lock_guard<std::mutex> guard(Lock());
  Settings().sink = sink;
  Settings().sink_context = context;
}

extern "C" void ZARN_ReloadTraceSettings(void) {
  std::lock_guard<std::mutex> guard(Lock());
  LoadSettings(Settings());
}
