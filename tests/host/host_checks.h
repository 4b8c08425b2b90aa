/* What the C host tests share: a check that counts its failures and a widening of
 * ASCII texts for the exports. Included once by each test program. */
#ifndef ZARN_TESTS_HOST_HOST_CHECKS_H_
#define ZARN_TESTS_HOST_HOST_CHECKS_H_

#include <stdio.h>
#include <uchar.h>

static int failures = 0;

#define CHECK(cond)                                                            \
  do {                                                                         \
    if (!(cond)) {                                                             \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                              \
    }                                                                          \
  } while (0)

/* Widens an ASCII text into one of four static buffers (paths up to 1023 characters). */
static const char16_t* Wide(const char* s) {
  static char16_t buffer[4][1024];
  static int slot = 0;
  char16_t* out = buffer[slot++ % 4];
  size_t i = 0;
  for (; s[i] != '\0' && i < 1023; ++i) out[i] = (char16_t)(unsigned char)s[i];
  out[i] = 0;
  return out;
}

#endif /* ZARN_TESTS_HOST_HOST_CHECKS_H_ */
