#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::string runtime = "/tmp/obrix-ui-runtime-" + std::to_string(getuid());
  mkdir(runtime.c_str(), 0700);
  chmod(runtime.c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QFont::insertSubstitution("Microsoft Sans Serif", "Liberation Sans");
  return RUN_ALL_TESTS();
}
