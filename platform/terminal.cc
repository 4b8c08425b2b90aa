#include "platform/terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace zarn {
namespace {

int Descriptor(StandardStream stream) { return stream == StandardStream::kOutput ? STDOUT_FILENO : STDERR_FILENO; }

}  // namespace

bool IsTerminal(StandardStream stream) { return isatty(Descriptor(stream)) != 0; }

int TerminalColumns(StandardStream stream) {
  winsize size{};
  if (ioctl(Descriptor(stream), TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

}  // namespace zarn
