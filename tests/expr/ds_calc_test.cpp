#include "expr/DS_Calc.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace drex {
namespace {

constexpr long double Pi7 = 3.1415926L;
constexpr long double HalfPi = 1.5707963267948966L;
constexpr long double DefaultRelTolerance = 1e-15L;

/// Passes when `actual` is within `rel` of `expected` relative to the larger magnitude (absolute
/// near zero), and prints both with all their digits otherwise.
::testing::AssertionResult NearRel(long double actual, long double expected, long double rel = DefaultRelTolerance) {
  const long double scale = std::fmax(std::fmax(std::fabs(actual), std::fabs(expected)), 1e-300L);
  if (std::isfinite(actual) && std::fabs(actual - expected) <= rel * scale) return ::testing::AssertionSuccess();
  char buf[128];
  std::snprintf(buf, sizeof buf, "actual %.21Lg, expected %.21Lg", actual, expected);
  return ::testing::AssertionFailure() << buf;
}

bool SameBits(long double a, long double b) {
  // Only the 80 significant bits of the x87 format; the padding bytes are unspecified.
  constexpr std::size_t Significant = sizeof(long double) < 10 ? sizeof(long double) : 10;
  return std::memcmp(&a, &b, Significant) == 0;
}

struct CalcCase {
  const char* Text;
  long double Value;
  int Code;
  const char* Why;
};

void PrintTo(const CalcCase& c, std::ostream* os) { *os << '"' << c.Text << "\" (" << c.Why << ")"; }

// Every case is run through the cached path twice (cold and warm) and through the rewriting
// reference; all three must give the expected code, the value, and the same bits.
class CalcTable : public ::testing::TestWithParam<CalcCase> {};

TEST_P(CalcTable, CachedAndRewritingAgreeWithTable) {
  const CalcCase& c = GetParam();
  DS_Calc calc;
  const long double cold = calc.EvaluateExpression(c.Text);
  const int coldCode = calc.CalcError;
  const long double warm = calc.EvaluateExpression(c.Text);
  const int warmCode = calc.CalcError;
  const long double reference = calc.EvaluateByRewriting(c.Text);
  const int referenceCode = calc.CalcError;

  EXPECT_EQ(referenceCode, c.Code);
  if (c.Code == CalcOk) {
    EXPECT_TRUE(NearRel(reference, c.Value));
  } else {
    EXPECT_EQ(reference, 0.0L) << "a failed evaluation returns 0";
  }
  EXPECT_EQ(coldCode, referenceCode);
  EXPECT_EQ(warmCode, referenceCode);
  EXPECT_TRUE(SameBits(cold, reference));
  EXPECT_TRUE(SameBits(warm, reference));
}

const CalcCase LiteralCases[] = {
    {"2", 2, 0, "one literal"},
    {"0.5", 0.5L, 0, "decimal point"},
    {".5", 0.5L, 0, "no integer part"},
    {"5.", 5, 0, "no fraction part"},
    {"007", 7, 0, "leading zeros"},
    {"0.1", 0.1L, 0, "correctly rounded like a long double literal"},
    {"123456789012345678901234", 123456789012345678901234.0L, 0, "more digits than the fast conversion takes"},
    {"0.0000000000000000000000000001234", 1.234e-28L, 0, "more decimals than the exact powers of ten"},
    {"Pi", Pi7, 0, "PI in any case"},
    {"PI", Pi7, 0, "PI"},
    {"pi", Pi7, 0, "pi"},
    {"s i n ( 1 )", std::sin(1.0L), 0, "blanks are deleted, also inside names"},
    {"2 3", 23, 0, "blanks between digits vanish, the digits join"},
    {"1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1", 26, 0, "26 literals fill the registers"},
    {"1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1", 0, 1, "a 27th literal has no register"},
    {"1.2.3", 0, 4, "two points"},
    {".", 0, 4, "a point without digits"},
    {"1..2", 0, 4, "two points side by side"},
};
INSTANTIATE_TEST_SUITE_P(DsCalcLiterals, CalcTable, ::testing::ValuesIn(LiteralCases));

const CalcCase PrecedenceCases[] = {
    {"2+3*4", 14, 0, "multiplication before addition"},
    {"(2+3)*4", 20, 0, "parentheses first"},
    {"2^3^2", 64, 0, "powers associate to the left"},
    {"8/2/2", 2, 0, "division associates to the left"},
    {"2-3-4", -5, 0, "subtraction associates to the left"},
    {"10/4*2", 5, 0, "multiplication and division share a level"},
    {"1+2*3^2-4/2", 17, 0, "three levels"},
    {"2*3^2", 18, 0, "power before multiplication"},
    {"sin(2)^2", std::sin(4.0L), 0, "the power is done before the function takes its operand"},
    {"(sin(2))^2", std::sin(2.0L) * std::sin(2.0L), 0, "parenthesised function, then the power"},
    {"sqrt(4)^3", 8, 0, "square root of 4^3"},
    {"2^sin(1)", 0, 1, "a function letter cannot be the right operand of a power"},
    {"2^(sin(1))", std::pow(2.0L, std::sin(1.0L)), 0, "a parenthesised function can"},
    {"((((2))))", 2, 0, "nested groups"},
    {"1-(2-3)", 2, 0, "inner group first"},
    {"2*(3+4)*5", 70, 0, "group in the middle"},
    {"ln(0)+(1/0)", 0, -2, "the group (1/0) is reduced before ln meets its operand"},
    {"(1/0)+ln(0)", 0, -2, "the first closed group fails first"},
    {"1/0+ln(0)", 0, -1, "functions go before division within one segment"},
    {"sqrtg(1)", 0, 1, "TG is replaced before SQRT, leaving SQR before a function letter"},
    {"+5", 5, 0, "a leading plus is ignored"},
    {"+++5", 5, 0, "every leading plus is ignored"},
};
INSTANTIATE_TEST_SUITE_P(DsCalcPrecedence, CalcTable, ::testing::ValuesIn(PrecedenceCases));

const CalcCase UnaryMinusCases[] = {
    {"-2^2", 4, 0, "unary minus binds tighter than the power"},
    {"0-2^2", -4, 0, "binary minus does not"},
    {"2^-1", 0.5L, 0, "negative exponent"},
    {"-2^-2", 0.25L, 0, "both operands negated before the power"},
    {"2--3", 5, 0, "minus of a negated operand"},
    {"2---3", -1, 0, "three minus signs"},
    {"--2", 2, 0, "double negation"},
    {"2+-3", -1, 0, "plus minus"},
    {"2-+3", -1, 0, "minus plus collapses"},
    {"2*-3", -6, 0, "minus after an operator"},
    {"-3*-2", 6, 0, "two negated factors"},
    {"-sin(1)", -std::sin(1.0L), 0, "minus before a function, applied after it"},
    {"-sin(3)^2", -std::sin(9.0L), 0, "the power goes first, then the function, then the minus"},
    {"2*-sin(1)", -2 * std::sin(1.0L), 0, "second unary pass after the functions"},
    {"3--sin(1)", 3 + std::sin(1.0L), 0, "a sign pair before a function"},
};
INSTANTIATE_TEST_SUITE_P(DsCalcUnaryMinus, CalcTable, ::testing::ValuesIn(UnaryMinusCases));

const CalcCase FunctionCases[] = {
    {"atg(1)", std::atan(1.0L), 0, "ATG"},
    {"actg(1)", HalfPi - std::atan(1.0L), 0, "ACTG is not broken up by CTG or TG"},
    {"asin(0.5)", std::atan(0.5L / std::sqrt(0.75L)), 0, "ASIN through the arctangent"},
    {"acos(0.5)", std::atan(std::sqrt(0.75L) / 0.5L), 0, "ACOS"},
    {"acos(-0.5)", -1.0471975511965977L, 0, "ACOS of a negative argument lies in (-pi/2, 0)"},
    {"lg(1000)", std::log(1000.0L) / std::log(10.0L), 0, "LG"},
    {"sin(1)", std::sin(1.0L), 0, "SIN"},
    {"cos(1)", std::cos(1.0L), 0, "COS is not broken up by ACOS"},
    {"ctg(1)", std::cos(1.0L) / std::sin(1.0L), 0, "CTG"},
    {"tg(1)", std::sin(1.0L) / std::cos(1.0L), 0, "TG"},
    {"exp(1)", std::exp(1.0L), 0, "EXP"},
    {"frac(2.75)", 0.75L, 0, "FRAC"},
    {"frac(-2.75)", -0.75L, 0, "FRAC keeps the sign"},
    {"int(2.75)", 2, 0, "INT"},
    {"int(-2.75)", -2, 0, "INT truncates toward zero"},
    {"ln(exp(2))", 2, 0, "LN"},
    {"sqrt(2)", std::sqrt(2.0L), 0, "SQRT is not broken up by SQR"},
    {"sqr(3)", 9, 0, "SQR"},
    {"abs(-3)", 3, 0, "ABS"},
    {"sin2", std::sin(2.0L), 0, "a function takes a bare operand"},
    {"SQRT(SQR(-5))", 5, 0, "names in upper case"},
    {"2*pi", 2 * Pi7, 0, "PI as an operand"},
};
INSTANTIATE_TEST_SUITE_P(DsCalcFunctions, CalcTable, ::testing::ValuesIn(FunctionCases));

const CalcCase MathErrorCases[] = {
    {"ln(0)", 0, -1, "logarithm of 0"},
    {"ln(-1)", 0, -1, "logarithm of a negative"},
    {"lg(0)", 0, -1, "decimal logarithm of 0"},
    {"sqrt(-1)", 0, -1, "square root of a negative"},
    {"asin(1)", 0, -1, "ASIN divides by zero at 1"},
    {"asin(-1)", 0, -1, "and at -1"},
    {"asin(2)", 0, -1, "outside [-1, 1]"},
    {"acos(0)", 0, -1, "ACOS divides by zero at 0"},
    {"acos(2)", 0, -1, "outside [-1, 1]"},
    {"ctg(0)", 0, -1, "cotangent at 0"},
    {"(-8)^(1/3)", 0, -1, "negative base, fractional exponent"},
    {"(-2)^0.5", 0, -1, "negative base, half"},
    {"exp(100000)", 0, -1, "exponential overflows"},
    {"10^5000", 0, -1, "power overflows"},
    {"sqr(10^3000)", 0, -1, "square overflows"},
    {"10^4932*10", 0, -1, "product overflows"},
    {"10^4932+10^4932", 0, -1, "sum overflows"},
    {"0-10^4932-10^4932", 0, -1, "difference overflows"},
    {"(-2)^3", -8, 0, "negative base, odd integer exponent"},
    {"(-2)^2", 4, 0, "negative base, even integer exponent"},
    {"(-2)^2.0000001", std::exp(2.0000001L * std::log(2.0L)), 0, "an exponent this close counts as an integer"},
    {"0^0", 0, 0, "zero to any power is 0"},
    {"0^-1", 0, 0, "zero to a negative power is 0 too"},
};
INSTANTIATE_TEST_SUITE_P(DsCalcMathErrors, CalcTable, ::testing::ValuesIn(MathErrorCases));

const CalcCase NearZeroDivisorCases[] = {
    {"1/0.0001", 10000, 0, "exactly the smallest divisor"},
    {"1/-0.0001", -10000, 0, "negative, exactly the smallest"},
    {"1/0.00009", 0, -2, "just below"},
    {"1/0.0000999999", 0, -2, "a hair below"},
    {"1/0", 0, -2, "zero"},
    {"5/-0.00001", 0, -2, "negative below"},
    {"1/(1-1)", 0, -2, "a computed zero"},
    {"0.00001/0.5", 0.00002L, 0, "a small dividend is fine"},
};
INSTANTIATE_TEST_SUITE_P(DsCalcNearZeroDivisors, CalcTable, ::testing::ValuesIn(NearZeroDivisorCases));

const CalcCase SyntaxCases[] = {
    {"2*", 0, 1, "operator without a right operand"},
    {"*2", 0, 1, "operator without a left operand"},
    {"2^", 0, 1, "power without exponent"},
    {"^2", 0, 1, "power without base"},
    {"2*/3", 0, 1, "two operators"},
    {"2+", 0, 1, "trailing plus"},
    {"sin", 0, 1, "function without an operand"},
    {"sin+1", 0, 1, "function followed by an operator"},
    {"+", 0, 1, "a plus alone reduces to nothing"},
    {"-", 0, 1, "a minus alone"},
    {"2*(+)", 0, 1, "an empty group after the plus is gone"},
    {"()", 0, 2, "empty parentheses"},
    {"sin()", 0, 2, "a function with empty parentheses"},
    {"", 0, 2, "empty text encloses to ()"},
    {"   ", 0, 2, "blanks only"},
    {"2,5", 0, 2, "comma"},
    {"y", 0, 2, "an unsubstituted variable"},
    {"2e5", 0, 2, "no exponent notation"},
    {"2sin(1)", 0, 2, "an operand before a function"},
    {"\t1", 0, 2, "a tab is not a blank"},
    {"1\xC3\xA9", 0, 2, "bytes above 127"},
    {"2*(3", 0, 3, "missing close"},
    {"2*3)", 0, 3, "missing open"},
    {")(", 0, 2, "balanced counts, enclosing makes ()()"},
    {"2)+(3", 0, 3, "wrong order leaves two groups joined by an operator"},
    {"2)(3", 0, 2, "enclosed, two groups stand side by side"},
    {"2)+3)+((4", 0, 3, "a close without an open before it"},
};
INSTANTIATE_TEST_SUITE_P(DsCalcSyntax, CalcTable, ::testing::ValuesIn(SyntaxCases));

const CalcCase SideBySideCases[] = {
    {"2(3)", 0, 2, "an operand before a group is not its first operand"},
    {"(3)2", 0, 2, "an operand after a group"},
    {"(2)(3)", 0, 2, "two groups"},
    {"2pi", 0, 2, "PI never joins a digit before it"},
    {"pi2", 0, 2, "nor after it"},
    {"pipi", 0, 2, "nor another PI"},
    {".pi", 0, 4, "a point before PI stays a point"},
    {"2.pi", 0, 2, "2. is a number of its own"},
    {"sin(1)2", 0, 2, "an operand after a function group"},
    {"(2)sin(1)", 0, 2, "a group before a function"},
    {"pisin(1)+ln(0)", 0, 2, "PI before a function is refused before the logarithm fails"},
    {"sin(1)ln(0)", 0, 2, "a function group before a failing function"},
    {"(1)sqrt(-1)", 0, 2, "a group before a function that would fail"},
    {"(2)sin", 0, 2, "a group before a function without an operand"},
    {"(1/0)2", 0, 2, "a group that would divide by zero before an operand"},
    {"2(ln(0))", 0, 2, "an operand before a group that would fail"},
    {"(ln(0))(1/0)", 0, 2, "two groups that would both fail"},
    {"pi(1/0)", 0, 2, "PI before a group"},
    {"(2+1)*sin(1)", 3 * std::sin(1.0L), 0, "an operator between a group and a function"},
    {"(2)^sin(1)", 0, 1, "a function after an operator keeps its own code"},
    {"-(2)+sin(1)", std::sin(1.0L) - 2, 0, "groups and functions joined by operators"},
    {"sin(1)*(2)", 2 * std::sin(1.0L), 0, "a function group before an operator"},
};
INSTANTIATE_TEST_SUITE_P(DsCalcSideBySide, CalcTable, ::testing::ValuesIn(SideBySideCases));

// ---------------------------------------------------------------------------------------------
// Substitution

TEST(DsCalcSubstitution, NumberTextIsTenDecimalsInATwentyCharacterField) {
  EXPECT_EQ(VariableNumberText(3), "(        3.0000000000)");
  EXPECT_EQ(VariableNumberText(-0.5L), "(       -0.5000000000)");
  EXPECT_EQ(VariableNumberText(1.0L / 3), "(        0.3333333333)");
  EXPECT_EQ(VariableNumberText(-1234567890.5L), "(-1234567890.5000000000)") << "a text filling the field";
  EXPECT_EQ(VariableNumberText(123456789012345.25L), "(123456789012345.2500000000)") << "longer than the field";
}

// The number text is built by hand for speed; it must be the text to_chars writes, ties included.
TEST(DsCalcSubstitution, NumberTextMatchesToChars) {
  std::vector<long double> values = {
      0.0L,          -0.0L,          1e-11L, -1e-11L,    0.00000000005L, 0.99999999995L, 1073741823.99999999L,
      1073741824.0L, -1073741824.5L, 1e20L,  123456.789L};
  for (int k = -5000; k <= 5000; ++k)
    values.push_back(k / 2048.0L); // exact ties at the 11th decimal
  std::mt19937_64 rng(99);
  std::uniform_real_distribution<long double> unit(-1, 1);
  for (int k = 0; k < 20000; ++k)
    values.push_back(unit(rng) * std::pow(10.0L, static_cast<int>(rng() % 24) - 12));
  for (long double v : values) {
    char digits[128];
    const auto res = std::to_chars(digits, digits + sizeof digits, v, std::chars_format::fixed, 10);
    std::string expected(digits, res.ptr);
    if (expected.size() < 20) expected.insert(0, 20 - expected.size(), ' ');
    ASSERT_EQ(VariableNumberText(v), "(" + expected + ")") << static_cast<double>(v);
  }
}

TEST(DsCalcSubstitution, ValuesWithoutANumberTextEvaluateToMathError) {
  DS_Calc calc;
  for (long double v : {1e60L, -1e60L, HUGE_VALL, -HUGE_VALL, std::nanl("")}) {
    const std::string text = SubstituteVariable("1+x", 'x', v);
    EXPECT_EQ(calc.EvaluateExpression(text), 0.0L) << text;
    EXPECT_EQ(calc.CalcError, CalcMathError) << text;
    // The inserted text survives a second substitution of another letter unchanged.
    EXPECT_EQ(SubstituteVariable(text, 'n', 2), text);
    EXPECT_EQ(SubstituteVariable(text, 'l', 2), text);
  }
  // A number just within 60 characters is kept.
  const std::string big = SubstituteVariable("x", 'x', 1e40L);
  EXPECT_TRUE(NearRel(calc.EvaluateExpression(big), 1e40L, 1e-18L)) << big;
  EXPECT_EQ(calc.CalcError, CalcOk);
}

struct SubstitutionCase {
  const char* Formula;
  char Letter;
  long double X;
  long double Value;
  int Code;
  const char* Why;
};

void PrintTo(const SubstitutionCase& c, std::ostream* os) {
  *os << '"' << c.Formula << "\" with " << c.Letter << " (" << c.Why << ")";
}

class SubstitutionTable : public ::testing::TestWithParam<SubstitutionCase> {};

TEST_P(SubstitutionTable, SubstitutedTextEvaluates) {
  const SubstitutionCase& c = GetParam();
  DS_Calc calc;
  const std::string text = SubstituteVariable(c.Formula, c.Letter, c.X);
  const long double value = calc.EvaluateExpression(text);
  EXPECT_EQ(calc.CalcError, c.Code) << text;
  if (c.Code == CalcOk) {
    EXPECT_TRUE(NearRel(value, c.Value, 1e-12L)) << text;
  }
  const long double reference = calc.EvaluateByRewriting(text);
  EXPECT_TRUE(SameBits(value, reference)) << text;
}

const SubstitutionCase SubstitutionCases[] = {
    {"x^2", 'x', -0.5L, 0.25L, 0, "a short negative value squared"},
    {"2-x", 'x', -0.5L, 2.5L, 0, "minus a short negative value"},
    {"x^2", 'X', -1234567890.5L, 1234567890.5L * 1234567890.5L, 0, "a field-filling negative value squared"},
    {"2-x", 'x', -1234567890.5L, 1234567892.5L, 0, "minus a field-filling negative value"},
    {"-x", 'x', -2, 2, 0, "negated negative value"},
    {"2^x", 'x', -1, 0.5L, 0, "negative exponent"},
    {"x*3", 'x', 1.0L / 3, 0.9999999999L, 0, "ten decimals: 1/3 is 0.3333333333"},
    {"exp(x)", 'x', 1.5L, std::exp(1.5L), 0, "EXP holds the letter X"},
    {"EXP(X)+x", 'x', 1, std::exp(1.0L) + 1, 0, "letters compared without regard to case"},
    {"tg(t)", 't', 0.5L, std::sin(0.5L) / std::cos(0.5L), 0, "TG holds the letter T"},
    {"sqrt(t)", 'T', 2, std::sqrt(2.0L), 0, "SQRT holds the letter T"},
    {"int(t)", 't', -3.75L, -3, 0, "INT holds the letter T"},
    {"frac(f)", 'f', -3.75L, -0.75L, 0, "FRAC holds the letter F"},
    {"actg(t)", 't', 1, HalfPi - std::atan(1.0L), 0, "ACTG holds the letter T"},
    {"abs(a)+asin(a)", 'a', 0.5L, 0.5L + std::atan(0.5L / std::sqrt(0.75L)), 0, "names beginning with A"},
    {"p*pi", 'p', 2, 2 * Pi7, 0, "PI holds the letter P"},
    {"sin(x)*x^2+3", 'x', 2, std::sin(2.0L) * 4 + 3, 0, "the benchmark formula"},
    {"1/x", 'x', 0, 0, -2, "division by the variable at 0"},
    {"ln(x)", 'x', -1, 0, -1, "outside the domain"},
    {"2x", 'x', 3, 0, 2, "a digit before the variable never joins it"},
    {"x2", 'x', 3, 0, 2, "nor a digit after it"},
    {".x", 'x', 3, 0, 4, "a point before it stays a lone point"},
    {"x.5", 'x', 3, 0, 2, "a number after it"},
    {"xx", 'x', 3, 0, 2, "the variable twice"},
    {"2x", 'x', -1234567890.5L, 0, 2, "a field-filling value never joins either"},
    {"y", 'x', 3, 0, 2, "another letter is left in place"},
    {"xln(x-1)", 'x', 0.01L, 0, 2, "the variable before a function is refused before the logarithm fails"},
    {"xsqrt(x-1)", 'x', 0.01L, 0, 2, "and before a root that would fail"},
    {"xsin(x)", 'x', 1e60L, 0, 2, "a value without a number text is refused by the form too"},
    {"x(x)", 'x', 2, 0, 2, "the variable twice, the second in a group"},
    {"x*sqrt(x)", 'x', 4, 8, 0, "with an operator it is a product"},
    {"(x+1)*sin(x)", 'x', 0.5L, 1.5L * std::sin(0.5L), 0, "a group times a function"},
};
INSTANTIATE_TEST_SUITE_P(DsCalcSubstitution, SubstitutionTable, ::testing::ValuesIn(SubstitutionCases));

TEST(DsCalcSubstitution, SeveralVariablesInTurn) {
  DS_Calc calc;
  std::string text = SubstituteVariable("x*y-z", 'X', 3);
  text = SubstituteVariable(text, 'Y', 4);
  text = SubstituteVariable(text, 'Z', -0.5L);
  EXPECT_TRUE(NearRel(calc.EvaluateExpression(text), 12.5L)) << text;
  EXPECT_EQ(calc.CalcError, CalcOk);
}

// ---------------------------------------------------------------------------------------------
// State between calls, codes by sign, long and odd texts

TEST(DsCalcState, CalcErrorReflectsOnlyTheLastCall) {
  DS_Calc calc;
  calc.EvaluateExpression("1/0");
  EXPECT_EQ(calc.CalcError, CalcNearZeroDivisor);
  EXPECT_TRUE(NearRel(calc.EvaluateExpression("2+2"), 4));
  EXPECT_EQ(calc.CalcError, CalcOk);
  calc.EvaluateExpression("2*");
  EXPECT_GT(calc.CalcError, 0) << "malformed text is positive";
  calc.EvaluateExpression("sqrt(-4)");
  EXPECT_LT(calc.CalcError, 0) << "a value that cannot be computed is negative";
  // A failed call leaves no register behind: the next text starts from cleared registers.
  EXPECT_TRUE(NearRel(calc.EvaluateExpression("7"), 7));
}

TEST(DsCalcState, CopiesAndMovesKeepTheirOwnCache) {
  auto original = std::make_unique<DS_Calc>();
  original->EvaluateExpression("1+2");
  DS_Calc copy = *original;
  DS_Calc assigned;
  assigned.EvaluateExpression("7*7");
  assigned = *original;
  original.reset();
  EXPECT_TRUE(NearRel(copy.EvaluateExpression("3+4"), 7));
  EXPECT_TRUE(NearRel(assigned.EvaluateExpression("5+4"), 9));
  DS_Calc moved = std::move(copy);
  EXPECT_TRUE(NearRel(moved.EvaluateExpression("1+1"), 2));
  EXPECT_TRUE(NearRel(copy.EvaluateExpression("2+2"), 4)) << "a moved-from evaluator still works";
}

TEST(DsCalcState, CallerTextIsNotChanged) {
  DS_Calc calc;
  const std::string text = "sin(2) + PI";
  calc.EvaluateExpression(text);
  EXPECT_EQ(text, "sin(2) + PI");
}

TEST(DsCalcLongTexts, DeepAndLongTextsGiveCodes) {
  DS_Calc calc;
  const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
  EXPECT_TRUE(NearRel(calc.EvaluateExpression(deep), 1));
  EXPECT_EQ(calc.CalcError, CalcOk);
  std::string negations;
  for (int i = 0; i < 301; ++i)
    negations += "-(";
  negations += "2" + std::string(301, ')');
  EXPECT_TRUE(NearRel(calc.EvaluateExpression(negations), -2)) << "longer than 255 characters";
  EXPECT_EQ(calc.CalcError, CalcOk);
  EXPECT_TRUE(NearRel(calc.EvaluateExpression(std::string(3000, '+') + "1"), 1));
  EXPECT_TRUE(NearRel(calc.EvaluateExpression("1" + std::string(3001, '-') + "1"), 0)) << "odd run of minus";
  calc.EvaluateExpression(std::string(10000, '('));
  EXPECT_EQ(calc.CalcError, CalcUnbalanced);
  calc.EvaluateExpression(std::string(MaxWorkingLength + 1, '+'));
  EXPECT_EQ(calc.CalcError, CalcForbidden) << "beyond the working length";
  EXPECT_TRUE(NearRel(calc.EvaluateExpression(std::string(MaxWorkingLength + 100, ' ') + "3"), 3))
      << "blanks do not count";
  std::string everyByte;
  for (int b = 1; b < 256; ++b)
    everyByte.push_back(static_cast<char>(b));
  calc.EvaluateExpression(everyByte);
  EXPECT_EQ(calc.CalcError, CalcForbidden);
  calc.EvaluateExpression(std::string("1\0+1", 4));
  EXPECT_EQ(calc.CalcError, CalcForbidden) << "an embedded NUL is a byte like any other";
}

// ---------------------------------------------------------------------------------------------
// The cached path against the rewriting reference

TEST(DsCalcDifferential, NumbersConvertLikeFromChars) {
  std::mt19937_64 rng(12345);
  DS_Calc calc;
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    const int intDigits = static_cast<int>(rng() % 21);
    const int fracDigits = static_cast<int>(rng() % 31);
    for (int k = 0; k < intDigits; ++k)
      text.push_back(static_cast<char>('0' + rng() % 10));
    if (fracDigits > 0 || intDigits == 0) text.push_back('.');
    for (int k = 0; k < fracDigits || text == "."; ++k)
      text.push_back(static_cast<char>('0' + rng() % 10));
    long double expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected, std::chars_format::fixed);
    const long double value = calc.EvaluateExpression(text);
    ASSERT_EQ(calc.CalcError, CalcOk) << text;
    ASSERT_TRUE(SameBits(value, expected)) << text;
  }
}

void ExpectSameOutcome(DS_Calc& fast, DS_Calc& reference, const std::string& text) {
  const long double a = fast.EvaluateExpression(text);
  const long double b = reference.EvaluateByRewriting(text);
  ASSERT_EQ(fast.CalcError, reference.CalcError) << text;
  ASSERT_TRUE(SameBits(a, b)) << text;
}

TEST(DsCalcDifferential, RandomTextsAgree) {
  static const char* const Pieces[] = {
      "(",    ")",    "(",       ")",    "+",    "-",   "-",    "*",   "/",  "^",    "1",   "2",     "0",  "0.5",
      ".",    "3.25", "0.00001", "x",    "x",    " ",   "sin",  "cos", "tg", "sqrt", "sqr", "ln",    "lg", "exp",
      "frac", "int",  "abs",     "asin", "acos", "atg", "actg", "ctg", "pi", "y",    ",",   "10000", "/x", "/0.00001"};
  std::mt19937_64 rng(2718);
  DS_Calc fast;
  DS_Calc reference;
  std::uniform_real_distribution<double> xs(-3, 3);
  std::map<int, int> codes;
  for (int i = 0; i < 40000; ++i) {
    std::string formula;
    const int n = 1 + static_cast<int>(rng() % 14);
    for (int k = 0; k < n; ++k)
      formula += Pieces[rng() % (sizeof Pieces / sizeof *Pieces)];
    // The same shape with different values: the cache is hit with values that fail differently.
    for (int k = 0; k < 3; ++k) {
      ExpectSameOutcome(fast, reference, SubstituteVariable(formula, 'x', xs(rng)));
      ++codes[fast.CalcError];
    }
  }
  // The random texts must reach every outcome, values included, for the comparison to mean much.
  for (int code : {0, 1, 2, 3, 4, -1, -2})
    EXPECT_GT(codes[code], 20) << "code " << code;
}

TEST(DsCalcDifferential, TableFormulasOverManyValues) {
  static const char* const Formulas[] = {"sin(x)*x^2+3",        "sqrt(abs(x))/(1+x^2)", "2^x-ln(x+5)",  "1/x",
                                         "(x)^(1/3)",           "asin(x)+acos(x)",      "ctg(x)*tg(x)", "x^x",
                                         "-x^2+frac(x)*int(x)", "lg(x)/exp(x)"};
  DS_Calc fast;
  DS_Calc reference;
  for (const char* formula : Formulas)
    for (int k = -400; k <= 400; ++k)
      ExpectSameOutcome(fast, reference, SubstituteVariable(formula, 'x', k / 100.0L));
}

TEST(DsCalcDifferential, CacheStaysBoundedAndCorrect) {
  DS_Calc calc;
  for (int n = 1; n <= 600; ++n) {
    std::string text = "0";
    for (int k = 0; k < n % 25; ++k)
      text += "+1";
    text =
        std::string(static_cast<std::size_t>(n / 25), '(') + text + std::string(static_cast<std::size_t>(n / 25), ')');
    EXPECT_TRUE(NearRel(calc.EvaluateExpression(text), n % 25)) << text;
    EXPECT_LE(calc.CacheSize(), 256u);
  }
}

} // namespace
} // namespace drex
