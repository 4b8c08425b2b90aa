// Generates device-description sources of a given size for the benchmarks: many
// variables, components and relations, macros and includes.
#ifndef ZARN_BENCH_COMPILER_SOURCE_GENERATOR_H_
#define ZARN_BENCH_COMPILER_SOURCE_GENERATOR_H_

#include <string>

namespace zarnl::bench {

// Writes main.ddl of about `lines` lines and its include files into `dir`.
// Returns the path of main.ddl.
std::string GenerateSource(const std::string& dir, int lines);

}  // namespace zarnl::bench

#endif  // ZARN_BENCH_COMPILER_SOURCE_GENERATOR_H_
