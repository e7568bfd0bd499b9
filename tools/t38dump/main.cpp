// t38dump FILE: lists a survey data file one record a line, with its kind named and its fields decoded.
// Exit codes: 0 listed, 1 the file cannot be read (missing, not a regular file, read error), 2 bad arguments,
// 3 not a survey data file (empty, or no identifier record at its start), 4 the listing cannot be written.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "datafile/record_dump.h"
#include "datafile/survey_events.h"
#include "platform/files.h"
#include "platform/program_options.h"

namespace {

constexpr int kOk = 0, kCannotRead = 1, kUsage = 2, kForeign = 3, kCannotWrite = 4;

const char kUsageText[] =
    "usage: t38dump FILE\n"
    "Lists the survey data FILE one record a line: its number, kind and text, and the decoded fields.\n"
    "\n"
    "  --help      this text\n"
    "  --version   the version\n"
    "\n"
    "Exit status: 0 listed, 1 the file cannot be read, 2 bad arguments, 3 not a survey data file,\n"
    "4 the listing cannot be written.\n";

int Fail(int fd, int code, const char* path, const std::string& why) {
  std::fprintf(stderr, "t38dump: %s: %s\n", path, why.c_str());
  if (fd >= 0) ::close(fd);
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (auto code = obrix::AnswerHelpOrVersion(argc, argv, "t38dump", kUsageText)) return *code;
  if (argc != 2 || obrix::LooksLikeOption(argv[1])) {
    obrix::ReportUsageError("t38dump", argc < 2 ? "no FILE given"
                                       : obrix::LooksLikeOption(argv[1]) ? std::string("unknown option ") + argv[1]
                                                                         : "only one FILE");
    return kUsage;
  }
  // A closed pipe ends the listing with an error instead of the signal.
  std::signal(SIGPIPE, SIG_IGN);
  const char* path = argv[1];
  std::string why;
  const int fd = obrix::OpenRegularFileForReading(path, &why);
  if (fd < 0) return Fail(fd, kCannotRead, path, why);
  switch (obrix::CheckSurveyFile(fd)) {
    case obrix::SurveyFileCheck::Ok: break;
    case obrix::SurveyFileCheck::Empty: return Fail(fd, kForeign, path, "the file is empty");
    case obrix::SurveyFileCheck::Foreign:
      return Fail(fd, kForeign, path, "not a survey data file (no identifier record at its start)");
    case obrix::SurveyFileCheck::Unreadable: return Fail(fd, kCannotRead, path, std::strerror(errno));
  }
  bool writeFailed = false;
  const bool listed = obrix::DumpDataFile(fd, [&writeFailed](std::string_view part) {
    writeFailed = std::fwrite(part.data(), 1, part.size(), stdout) != part.size();
    return !writeFailed;
  });
  if (std::fflush(stdout) != 0) writeFailed = true;
  if (writeFailed) return Fail(fd, kCannotWrite, path, "writing the listing failed");
  if (!listed) return Fail(fd, kCannotRead, path, std::string("read error: ") + std::strerror(errno));
  ::close(fd);
  return kOk;
}
