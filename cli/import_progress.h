// The progress of `zarn-catalog import`: on a terminal one line rewritten in place
// (count, rate, time left, the current source); elsewhere a plain line now and then.
// The total grows while the walk lists directories: a listing is replaced by the
// sources it names, so the count is one of sources, not of directories.
#ifndef ZARN_CLI_IMPORT_PROGRESS_H_
#define ZARN_CLI_IMPORT_PROGRESS_H_

#include <functional>
#include <string>
#include <string_view>

namespace zarn::cli {

enum class ProgressStyle {
  kNone,   // nothing (--json without a terminal)
  kLine,   // one line rewritten in place with \r
  kPlain,  // a line every kPlainEvery sources or kPlainSeconds seconds
};

// Seconds from a fixed point; injected so that tests need not sleep.
using ProgressClock = std::function<double()>;
// Receives the text to write, escapes included.
using ProgressSink = std::function<void(const std::string&)>;

// "41.2/s", "350/s"; "" while nothing is done.
std::string FormatRate(int done, double seconds);
// Time left at the rate so far: "about 70 s left", "about 12 min left"; "" while
// the rate is unknown.
std::string FormatTimeLeft(int done, int total, double seconds);
// Time taken: "0.4 s", "12.3 s", "4 min 10 s", "1 h 5 min".
std::string FormatElapsed(double seconds);
// `name` in at most `columns` columns (UTF-8 code points): its end is kept, the
// start replaced by "...".
std::string ShortenName(std::string_view name, int columns);
// The terminal line without its escapes, shorter than `columns`:
// "[12/40] 3.1/s, about 9 s left  hart/quellmark/radar.ddl".
std::string StatusLine(int done, int total, double seconds, std::string_view name, int columns);
// "progress: 120/3000 sources (41.2/s, about 70 s left)".
std::string PlainLine(int done, int total, double seconds);

class ImportProgress {
 public:
  static constexpr int kPlainEvery = 100;
  static constexpr double kPlainSeconds = 10.0;

  // `root` is the path given to import; names are shown relative to it.
  ImportProgress(ProgressStyle style, int columns, std::string root, ProgressSink sink, ProgressClock clock);
  // The style and width for the standard streams; writes to stderr, or to stdout
  // when only stdout is a terminal and it carries no --json.
  static ImportProgress ForStandardStreams(bool json, std::string root);

  void Working(std::string_view source);  // the source being converted or imported
  void Expect(int more);                  // more sources to come
  void Done();                            // one source is through
  void Drop();                            // one expected source was a listing
  void Clear();                           // before other output on the terminal
  // "6 sources in 0.4 s".
  std::string Summary() const;

 private:
  double Seconds() const { return clock_() - start_; }
  void Draw();
  void MaybePlainLine();

  ProgressStyle style_;
  int columns_;
  std::string root_;
  ProgressSink sink_;
  ProgressClock clock_;
  double start_;
  int done_ = 0;
  int total_ = 1;  // the path given
  std::string current_;
  bool shown_ = false;  // a line is on the terminal
  int plain_done_ = 0;
  double plain_seconds_ = 0;
};

// One source of the walk; counts it as done when it goes, unless it listed others.
class ImportStep {
 public:
  ImportStep(ImportProgress& progress, std::string_view source) : progress_(progress) { progress_.Working(source); }
  ~ImportStep() {
    if (source_) progress_.Done();
  }
  ImportStep(const ImportStep&) = delete;
  ImportStep& operator=(const ImportStep&) = delete;
  // The source lists `walked` others; without components of its own it is no source itself.
  void Lists(long walked, bool own_components);
  // A directory with nothing to convert.
  void NotASource();

 private:
  ImportProgress& progress_;
  bool source_ = true;
};

}  // namespace zarn::cli

#endif  // ZARN_CLI_IMPORT_PROGRESS_H_
