#include "gps/readout_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace obrix {
namespace {

std::string Printf(const char* format, double v) {
  char buf[512];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

// The fast conversions must give exactly what printf gives for every readout format.
TEST(ReadoutText, FixedAndIntMatchPrintf) {
  struct Fmt {
    const char* printf;
    int precision, width;
    bool left;
  } fixed[] = {{"%3.1f", 1, 3, false}, {"%3.0f", 0, 3, false},   {"%-7.4f", 4, 7, true},
               {"%12.2f", 2, 12, false}, {"%-12.2f", 2, 12, true}, {"%8.3f", 3, 8, false},
               {"%-4.1f", 1, 4, true}};
  std::mt19937_64 rng(38);
  std::uniform_real_distribution<double> uniform(-1e7, 1e7);
  std::vector<double> values = {0.0, -0.0, 0.05, 0.15, 0.25, 2.5, 9.95, 9.96, 10.0, 35.64, 59.99995, -12345.6789,
                                1e300, -1e300, 5e-324, HUGE_VAL, -HUGE_VAL};
  for (int i = 0; i < 2000; ++i) values.push_back(uniform(rng) / std::pow(10.0, i % 8));
  // Exact ties (round to even), values a rounding carries into a new digit, the edges of the exact integer path,
  // and binary values of every magnitude.
  for (double v : {0.5, 1.5, 0.125, 0.375, 0.0625, 0.03125, 0.00005, 0.00015, 0.99995, 9.9999999, 99.995,
                   -0.00004, -0.5, 9007199254740992.0, 9007199254740993.0, 1.8446744073709552e19, 1e15 + 0.5}) {
    values.push_back(v);
  }
  for (int i = 0; i < 4000; ++i) {
    values.push_back(std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 150) - 120));
    values.push_back(-std::ldexp(static_cast<double>(rng() % 100000), -static_cast<int>(rng() % 20)));
  }
  for (const Fmt& f : fixed) {
    for (double v : values) {
      ReadoutText t;
      t.AppendFixed(v, f.precision, f.width, f.left);
      std::string want = Printf(f.printf, v).substr(0, ReadoutText::kCapacity);
      ASSERT_EQ(t.view(), want) << f.printf << " " << v;
    }
  }
  struct IntCase {
    int v;
    int width;
    bool left, zero;
    const char* printf;
  } ints[] = {{5, 2, false, false, "%2d"},   {11, 2, false, false, "%2d"}, {-3, 2, false, false, "%2d"},
              {123, 2, false, false, "%2d"}, {5, 2, false, true, "%02d"},  {0, 2, false, true, "%02d"},
              {-5, 3, false, true, "%03d"},  {7, 2, true, false, "%-2d"},  {-2147483647 - 1, 2, false, true, "%02d"}};
  for (const IntCase& c : ints) {
    ReadoutText t;
    t.AppendInt(c.v, c.width, c.left, c.zero);
    char buf[32];
    std::snprintf(buf, sizeof buf, c.printf, c.v);
    EXPECT_EQ(t.view(), buf) << c.printf << " " << c.v;
  }
}

// Appends of every length after every length already held, padded numbers included: the texts joined, cut at
// the capacity.
TEST(ReadoutText, AppendsJoinAndCutAtEveryLength) {
  const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-*/=";
  for (size_t held = 0; held <= ReadoutText::kCapacity; ++held) {
    const std::string before = letters.substr(0, held);
    for (size_t n = 0; n <= ReadoutText::kCapacity + 2; ++n) {
      const std::string more(n, static_cast<char>('!' + n % 90));
      ReadoutText t(before);
      t.Append(more);
      ASSERT_EQ(t.view(), (before + more).substr(0, ReadoutText::kCapacity)) << held << " + " << n;
      ASSERT_EQ(t.c_str()[t.size()], '\0');
    }
    for (int width : {0, 5, 40, 70}) {
      ReadoutText right(before), left(before), zeros(before);
      right.AppendFixed(-2.25, 2, width);
      left.AppendFixed(-2.25, 2, width, true);
      zeros.AppendInt(-17, width, false, true);
      const std::string w = std::to_string(width);
      EXPECT_EQ(right.view(), (before + Printf(("%" + w + ".2f").c_str(), -2.25)).substr(0, ReadoutText::kCapacity));
      EXPECT_EQ(left.view(), (before + Printf(("%-" + w + ".2f").c_str(), -2.25)).substr(0, ReadoutText::kCapacity));
      char buf[128];
      std::snprintf(buf, sizeof buf, ("%0" + w + "d").c_str(), -17);
      EXPECT_EQ(zeros.view(), (before + buf).substr(0, ReadoutText::kCapacity)) << held << " width " << width;
    }
  }
}

TEST(ReadoutText, CutsWithoutSplittingCharacters) {
  ReadoutText t;
  for (int i = 0; i < 40; ++i) t.AppendLatin1("\xB0");  // two bytes each
  EXPECT_EQ(t.size(), ReadoutText::kCapacity - 1);      // 31 whole characters, no half one
  EXPECT_EQ(t.view().substr(0, 2), "\u00B0");
  ReadoutText f;
  f.Format("%s%s", std::string(62, 'x').c_str(), "\u00B0");
  EXPECT_EQ(f.size(), 62u);
  EXPECT_EQ(f.c_str()[f.size()], '\0');
  ReadoutText a(std::string(100, 'y'));
  EXPECT_EQ(a.size(), ReadoutText::kCapacity);
  a.AppendFixed(1.5, 2);
  EXPECT_EQ(a.size(), ReadoutText::kCapacity);
}

}  // namespace
}  // namespace obrix
