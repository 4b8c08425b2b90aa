// Whether a standard stream is a terminal and how wide that terminal is.
#ifndef ZARN_PLATFORM_TERMINAL_H_
#define ZARN_PLATFORM_TERMINAL_H_

namespace zarn {

enum class StandardStream { kOutput, kError };

bool IsTerminal(StandardStream stream);
// The columns of the terminal on `stream`; 0 when it is no terminal or does not say.
int TerminalColumns(StandardStream stream);

}  // namespace zarn

#endif  // ZARN_PLATFORM_TERMINAL_H_
