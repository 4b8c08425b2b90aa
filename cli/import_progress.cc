#include "cli/import_progress.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "platform/terminal.h"

namespace zarn::cli {
namespace {

constexpr std::string_view kRewrite = "\r\033[K";  // to the line's start, cleared to its end
constexpr int kDefaultColumns = 80;

std::string Printed(const char* format, double a, double b = 0) {
  char text[64];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

int Columns(std::string_view s) {
  return static_cast<int>(std::count_if(s.begin(), s.end(), [](char c) { return !IsContinuationByte(c); }));
}

// The last `columns` code points of `s`.
std::string_view Tail(std::string_view s, int columns) {
  size_t at = s.size();
  while (at > 0 && columns > 0) {
    --at;
    if (!IsContinuationByte(s[at])) --columns;
  }
  return s.substr(at);
}

// The first `columns` code points of `s`.
std::string_view Head(std::string_view s, int columns) {
  size_t at = 0;
  for (; at < s.size(); ++at) {
    if (!IsContinuationByte(s[at]) && columns-- == 0) break;
  }
  return s.substr(0, at);
}

double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

ProgressSink StreamSink(std::FILE* stream) {
  return [stream](const std::string& text) {
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
  };
}

}  // namespace

std::string FormatRate(int done, double seconds) {
  if (done <= 0 || seconds <= 0) return {};
  const double rate = done / seconds;
  return Printed(rate < 100 ? "%.1f/s" : "%.0f/s", rate);
}

std::string FormatTimeLeft(int done, int total, double seconds) {
  if (done <= 0 || seconds <= 0 || total <= done) return {};
  const double left = std::ceil((total - done) * seconds / done);
  if (left < 100) return Printed("about %.0f s left", left);
  if (left < 3600) return Printed("about %.0f min left", std::ceil(left / 60));
  return Printed("about %.0f h %.0f min left", std::floor(left / 3600), std::floor(std::fmod(left, 3600) / 60));
}

std::string FormatElapsed(double seconds) {
  if (seconds < 100) return Printed("%.1f s", std::max(seconds, 0.0));
  const double whole = std::floor(seconds);
  if (whole < 3600) return Printed("%.0f min %.0f s", std::floor(whole / 60), std::fmod(whole, 60));
  return Printed("%.0f h %.0f min", std::floor(whole / 3600), std::floor(std::fmod(whole, 3600) / 60));
}

std::string ShortenName(std::string_view name, int columns) {
  if (Columns(name) <= columns) return std::string(name);
  if (columns <= 3) return std::string(std::max(columns, 0), '.');
  return "..." + std::string(Tail(name, columns - 3));
}

std::string StatusLine(int done, int total, double seconds, std::string_view name, int columns) {
  std::string line = "[" + std::to_string(done) + "/" + std::to_string(std::max(done, total)) + "]";
  if (const std::string rate = FormatRate(done, seconds); !rate.empty()) line += " " + rate;
  if (const std::string left = FormatTimeLeft(done, total, seconds); !left.empty()) line += ", " + left;
  // One column stays free: a line that fills the terminal would wrap on some of them.
  const int room = columns - 1 - Columns(line) - 2;
  if (!name.empty() && room >= 8) return line + "  " + ShortenName(name, room);
  return std::string(Head(line, columns - 1));
}

std::string PlainLine(int done, int total, double seconds) {
  std::string line = "progress: " + std::to_string(done) + "/" + std::to_string(std::max(done, total)) + " sources";
  const std::string rate = FormatRate(done, seconds);
  const std::string left = FormatTimeLeft(done, total, seconds);
  if (!rate.empty()) line += " (" + rate + (left.empty() ? "" : ", " + left) + ")";
  return line;
}

ImportProgress::ImportProgress(ProgressStyle style, int columns, std::string root, ProgressSink sink,
                               ProgressClock clock)
    : style_(style),
      columns_(columns > 0 ? columns : kDefaultColumns),
      root_(std::move(root)),
      sink_(std::move(sink)),
      clock_(std::move(clock)),
      start_(clock_()) {
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

ImportProgress ImportProgress::ForStandardStreams(bool json, std::string root) {
  if (IsTerminal(StandardStream::kError)) {
    return ImportProgress(ProgressStyle::kLine, TerminalColumns(StandardStream::kError), std::move(root),
                          StreamSink(stderr), SteadySeconds);
  }
  if (!json && IsTerminal(StandardStream::kOutput)) {
    return ImportProgress(ProgressStyle::kLine, TerminalColumns(StandardStream::kOutput), std::move(root),
                          StreamSink(stdout), SteadySeconds);
  }
  return ImportProgress(json ? ProgressStyle::kNone : ProgressStyle::kPlain, 0, std::move(root), StreamSink(stderr),
                        SteadySeconds);
}

void ImportProgress::Working(std::string_view source) {
  if (source.size() > root_.size() && source.substr(0, root_.size()) == root_ && source[root_.size()] == '/') {
    current_ = source.substr(root_.size() + 1);
  } else if (source == root_) {
    current_ = std::filesystem::path(source).filename().string();
  } else {
    current_ = source;
  }
  if (style_ == ProgressStyle::kLine) Draw();
}

void ImportProgress::Expect(int more) { total_ += more; }

void ImportProgress::Drop() { --total_; }

void ImportProgress::Done() {
  ++done_;
  if (style_ == ProgressStyle::kLine) Draw();
  if (style_ == ProgressStyle::kPlain) MaybePlainLine();
}

void ImportProgress::Clear() {
  if (!shown_) return;
  sink_(std::string(kRewrite));
  shown_ = false;
}

std::string ImportProgress::Summary() const {
  return std::to_string(done_) + (done_ == 1 ? " source in " : " sources in ") + FormatElapsed(Seconds());
}

void ImportProgress::Draw() {
  sink_(std::string(kRewrite) + StatusLine(done_, total_, Seconds(), current_, columns_));
  shown_ = true;
}

// The last source needs no line of its own: the summary follows.
void ImportProgress::MaybePlainLine() {
  const double now = Seconds();
  if (done_ >= total_) return;
  if (done_ - plain_done_ < kPlainEvery && now - plain_seconds_ < kPlainSeconds) return;
  sink_(PlainLine(done_, total_, now) + "\n");
  plain_done_ = done_;
  plain_seconds_ = now;
}

void ImportStep::Lists(long walked, bool own_components) {
  progress_.Expect(static_cast<int>(walked));
  if (walked > 0 && !own_components) NotASource();
}

void ImportStep::NotASource() {
  if (!source_) return;
  progress_.Drop();
  source_ = false;
}

}  // namespace zarn::cli
