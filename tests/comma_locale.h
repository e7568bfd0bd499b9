#pragma once
// A numeric locale with a decimal comma for the calling process, as a German desktop has: an installed one when
// there is one, else one compiled once with localedef into a folder of its own (found through $LOCPATH).
#include <clocale>
#include <cstdlib>
#include <string>

#include "test_support.h"

namespace obrix::test {

class CommaLocale {
 public:
  CommaLocale() : previous_(std::setlocale(LC_NUMERIC, nullptr)) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
      if (std::setlocale(LC_NUMERIC, name)) {
        Check();
        return;
      }
    }
    static TempDir folder;
    static const bool built = Build(folder.path());
    if (!built) return;
    if (const char* locpath = std::getenv("LOCPATH")) previousLocpath_ = locpath;
    setLocpath_ = true;
    setenv("LOCPATH", folder.path().c_str(), 1);
    if (std::setlocale(LC_NUMERIC, "xx_COMMA.UTF-8")) Check();
  }
  // The locale and $LOCPATH as they were, so later tests and the programs they start do not see the folder.
  ~CommaLocale() {
    std::setlocale(LC_NUMERIC, previous_.c_str());
    if (!setLocpath_) return;
    if (previousLocpath_.empty()) {
      unsetenv("LOCPATH");
    } else {
      setenv("LOCPATH", previousLocpath_.c_str(), 1);
    }
  }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;

  // False when no such locale could be had (no localedef): the test skips.
  bool active() const { return active_; }

 private:
  static bool Build(const std::string& folder) {
    WriteFile(folder + "comma.src",
              "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\ngrouping 3;3\nEND LC_NUMERIC\n");
    // Only the numeric category is defined: localedef warns of the others and needs -c to write it anyway.
    const std::string command = "localedef -c -i '" + folder + "comma.src' -f UTF-8 '" + folder +
                                "xx_COMMA.UTF-8' >/dev/null 2>&1";
    (void)std::system(command.c_str());
    return !ReadFile(folder + "xx_COMMA.UTF-8/LC_NUMERIC").empty();
  }
  void Check() { active_ = std::localeconv()->decimal_point[0] == ','; }

  std::string previous_;
  std::string previousLocpath_;
  bool setLocpath_ = false;
  bool active_ = false;
};

}  // namespace obrix::test
