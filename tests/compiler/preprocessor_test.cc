// Macros, conditional groups, directives and line keeping of the preprocessor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "libs/compiler/compiler.h"
#include "tests/support/test_support.h"

namespace zarnl {
namespace {

using zarn::testing::ScratchDir;
using zarn::testing::WriteFile;

class PreprocessorTest : public ::testing::Test {
 protected:
  // Preprocesses `text` as main.ddl; returns the non-empty output lines joined by "|".
  std::string Run(const std::string& text) {
    WriteFile(dir_.Join("main.ddl"), text);
    result_ = Preprocess(dir_.Join("main.ddl"), {});
    std::string joined;
    for (const OutputLine& l : result_.output.lines) {
      if (l.text.empty()) continue;
      if (!joined.empty()) joined += "|";
      joined += l.text;
    }
    return joined;
  }
  // The first error as "file-name:line: message" (directory removed).
  std::string FirstError() const {
    if (result_.diagnostics.Entries().empty()) return "<none>";
    std::string text = result_.diagnostics.Entries().front().Text();
    return text.substr(dir_.path().size() + 1);
  }

  ScratchDir dir_;
  PreprocessResult result_;
};

struct MacroCase {
  const char* source;
  const char* expected;
};

TEST_F(PreprocessorTest, ExpandsMacros) {
  const MacroCase cases[] = {
      {"#define N 5\nN", "5"},
      {"#define F(a, b) a + b\nF(1, 2)", "1 + 2"},
      {"#define F(a) [a]\nF()", "[]"},
      {"#define F() x\nF()", "x"},
      {"#define S(a) #a\nS(p  \"q\\n\" r)", "\"p \\\"q\\\\n\\\" r\""},
      {"#define P(a, b) a##b\nP(var, 1)", "var1"},
      {"#define P(a, b) a##b\nP(, x) P(y, )", "x y"},
      {"#define P(a) v_##a##_e\nP(mid)", "v_mid_e"},
      {"#define V(f, ...) f(__VA_ARGS__)\nV(g, 1, 2)", "g(1, 2)"},
      {"#define A B\n#define B 7\nA", "7"},
      {"#define F(x) G(x)\n#define G(y) y*2\nF(F(1))", "1*2*2"},
      {"#define A A + 1\nA", "A + 1"},
      {"#define A B\n#define B A\nA B", "A B"},
      {"#define F(x) x\nF(F)(3)", "F(3)"},
      {"#define F(x) x\nF", "F"},
      {"#define F(x, y) x y\nF(1,\n2)\nz", "1 2|z"},
      {"#define N 1\n#undef N\nN", "N"},
      {"#define UNUSED(a) #b a\nkept", "kept"},
      {"#define L \"|en|A|de|B\"\nLABEL L;", "LABEL \"|en|A|de|B\";"},
      {"x = \"// not a comment\" /* gone */ y // gone", "x = \"// not a comment\"   y"},
      {"a \\\nb", "a b"},
  };
  for (const MacroCase& c : cases) {
    EXPECT_EQ(Run(c.source), c.expected) << c.source;
    EXPECT_FALSE(result_.diagnostics.HasErrors()) << c.source << ": " << FirstError();
  }
}

TEST_F(PreprocessorTest, EvaluatesConditionalGroups) {
  const MacroCase cases[] = {
      {"#if 1\na\n#else\nb\n#endif", "a"},
      {"#if 0\na\n#elif 2 > 1\nb\n#else\nc\n#endif", "b"},
      {"#if 0\na\n#elif 0\nb\n#else\nc\n#endif", "c"},
      {"#define X\n#ifdef X\na\n#endif\n#ifndef X\nb\n#endif", "a"},
      {"#define X 3\n#if defined(X) && defined Y\na\n#elif defined X && X * 2 == 6\nb\n#endif", "b"},
      {"#if 1\n#if 0\na\n#else\nb\n#endif\n#else\nc\n#endif", "b"},
      {"#if 0\n#if 1\na\n#endif\n#error not reached\n#bogus\n#else\nb\n#endif", "b"},
      {"#if (0x10 >> 2) == 4 && -1 < 0 && !0 && (~0 & 3) == 3 && 7 % 4 == 3 ? 1 : 0\nyes\n#endif", "yes"},
      {"#if UNDEFINED_NAME == 0\nzero\n#endif", "zero"},
      {"#if 'A' == 65\nchar\n#endif", "char"},
      {"#pragma anything\n#line 40\n#\nkept", "kept"},
  };
  for (const MacroCase& c : cases) {
    EXPECT_EQ(Run(c.source), c.expected) << c.source;
    EXPECT_FALSE(result_.diagnostics.HasErrors()) << c.source << ": " << FirstError();
  }
}

TEST_F(PreprocessorTest, ReportsErrorsWithFileAndLine) {
  const MacroCase cases[] = {
      {"a\n#error stop \"here\"", "main.ddl:2: #error stop \"here\""},
      {"#if 1\na", "main.ddl:1: unterminated #if"},
      {"\n#endif", "main.ddl:2: #endif without #if"},
      {"#if 1\n#else\n#else\n#endif", "main.ddl:3: #else after #else"},
      {"#if 1 / 0\n#endif", "main.ddl:1: division by zero in #if expression"},
      {"#if\n#endif", "main.ddl:1: #if with no expression"},
      {"#if (1\n#endif", "main.ddl:1: missing ')' in #if expression"},
      {"#if defined(\n#endif", "main.ddl:1: operator \"defined\" requires an identifier"},
      {"#define F(a) a\n\nF(1, 2)", "main.ddl:3: macro 'F' requires 1 argument(s), but 2 given"},
      {"#define F(a) a\nF(1", "main.ddl:2: unterminated argument list invoking macro 'F'"},
      {"#define F(a) #b\n\nF(1)", "main.ddl:3: macro 'F': '#' is not followed by a macro parameter"},
      {"#define F(a,) a", "main.ddl:1: invalid macro parameter list"},
      {"#define\n", "main.ddl:1: macro name missing in #define"},
      {"#frobnicate", "main.ddl:1: invalid preprocessing directive #frobnicate"},
      {"a\n/* open\n\n", "main.ddl:2: unterminated comment"},
      {"#include\n", "main.ddl:1: #include expects \"FILE\" or <FILE>"},
      {"\n\n#include \"missing.h\"", "main.ddl:3: cannot find include file 'missing.h'"},
  };
  for (const MacroCase& c : cases) {
    Run(c.source);
    EXPECT_FALSE(result_.ok) << c.source;
    EXPECT_EQ(FirstError(), c.expected) << c.source;
  }
}

TEST_F(PreprocessorTest, KeepsOneOutputLinePerSourceLine) {
  Run("/* a\n b */ x\n#define F(a) a\nF(1\n) \\\ncontinued\n#if 0\nno\n#endif\nlast");
  ASSERT_EQ(result_.output.lines.size(), 10u);
  EXPECT_EQ(result_.output.lines[1].text, "  x");
  EXPECT_EQ(result_.output.lines[3].text, "1 continued");
  EXPECT_EQ(result_.output.lines[9].text, "last");
  for (int i = 0; i < 10; ++i) EXPECT_EQ(result_.output.lines[static_cast<size_t>(i)].line, i + 1);
}

TEST_F(PreprocessorTest, SurvivesRunawayMacros) {
  std::string source;
  for (int i = 0; i < 40; ++i) {
    source += "#define M" + std::to_string(i + 1) + " M" + std::to_string(i) + " M" + std::to_string(i) + "\n";
  }
  source += "M40\n";
  Run(source);
  EXPECT_EQ(FirstError(), "main.ddl:41: macro expansion too large");
  EXPECT_EQ(result_.output.lines.size(), 41u);
}

TEST_F(PreprocessorTest, BoundsMacroInvocationsNestedInArguments) {
  const auto nested = [](int n) {
    return std::string("#define A(x) x\n") + [&] {
      std::string s;
      for (int i = 0; i < n; ++i) s += "A(";
      s += "1";
      for (int i = 0; i < n; ++i) s += ")";
      return s;
    }();
  };
  EXPECT_EQ(Run(nested(20)), "1");
  Run(nested(40));
  EXPECT_EQ(FirstError(), "main.ddl:2: macro invocations nested too deeply in arguments");
  Run(nested(20000));
  EXPECT_EQ(FirstError(), "main.ddl:2: macro expansion too large");
}

TEST_F(PreprocessorTest, ReadsLatin1AndCarriageReturns) {
  EXPECT_EQ(Run("LABEL \"Gr\xF6\xDF"
                "e\";\r\nx\r\n"),
            "LABEL \"Gr\xC3\xB6\xC3\x9F"
            "e\";|x");
}

}  // namespace
}  // namespace zarnl
