// fmr-rds: decodes the RDS groups of the first-generation panel's decode log.
#ifndef _WIN32
#include <csignal>
#endif
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "fmr-rds/cli.h"
#include "text/checked_input.h"
#include "text/checked_output.h"
#include "text/checked_stream.h"

int main(int argc, char** argv) {
#ifndef _WIN32
  // A reader that goes away shows as EPIPE on the write, reported like any
  // other failed write, instead of ending the program unseen.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  const std::vector<std::string> args(argv + 1, argv + argc);
  tooltext::CheckedOutput standard_output = tooltext::CheckedOutput::StandardOutput();
  tooltext::CheckedOutput standard_error = tooltext::CheckedOutput::StandardError();
  tooltext::CheckedStreamBuf out_buffer(standard_output);
  tooltext::CheckedStreamBuf err_buffer(standard_error);
  std::ostream out(&out_buffer);
  std::ostream err(&err_buffer);
  // Standard input read with its errors seen (std::cin takes them for the end).
  const std::unique_ptr<tooltext::CheckedInputBuf> input_buffer =
      tooltext::CheckedInputBuf::StandardInput();
  std::istream in(input_buffer.get());
  int status = fmrrds::Run(args, in, out, err);
  if (!standard_output.Close()) {
    err << "fmr-rds: " << standard_output.error() << '\n';
    status = 1;
  }
  // Problem lines that could not be written leave nowhere to say so.
  if (!standard_error.Close()) return 1;
  return status;
}
