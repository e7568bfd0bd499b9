// t38dump FILE: lists a survey data file one record a line, with its kind named and its fields decoded.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "datafile/record_dump.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: t38dump FILE\n");
    return 2;
  }
  int fd = ::open(argv[1], O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    std::fprintf(stderr, "t38dump: %s: %s\n", argv[1], std::strerror(errno));
    return 1;
  }
  std::string out = obrix::DumpDataFile(fd);
  ::close(fd);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}
