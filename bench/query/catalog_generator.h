// Generated catalog documents of a given size for the query benchmarks.
#ifndef ZARN_BENCH_QUERY_CATALOG_GENERATOR_H_
#define ZARN_BENCH_QUERY_CATALOG_GENERATOR_H_

#include <string>

namespace zarn::bench {

// A catalog document with `components` components below
// /DEVICE/PROFIBUS/<class>/<maker>/<folder>, 5 classifications, 20 manufacturers per
// classification and 10 components per folder; each component carries labels in two
// languages, help, identification, initial values and a child relation to the
// components of its own folder (every thousandth one: to the whole protocol), and one
// catalog folder refers to every hundredth component. With `all_fit` every
// component's relation refers to the whole protocol, so that each relation query
// expands to every component of the catalog.
std::string GenerateCatalog(int components, bool all_fit = false);

// The component path of component number n (0-based) of a generated catalog of
// `components` components.
std::string ComponentPath(int n, int components);

// The COT name of component number n (\FOLDER<f>\C<n>), which names it alone.
std::string CotName(int n, int components);

}  // namespace zarn::bench

#endif  // ZARN_BENCH_QUERY_CATALOG_GENERATOR_H_
