// pellark-run: runs a CHIP-8 or SUPER-CHIP program with no window, for testing, tracing and
// benchmarking programs.

#include "pellark-run/run_options.h"
#include "pellark-run/runner.h"
#include "platform/byte_file.h"

int main(int argc, char** argv) {
  // A closed output ends the run through the write that fails, with exit status 1.
  pellark::ReportWriteFailuresAsErrors();
  const pellark::ParsedCommandLine commandLine = pellark::ParseCommandLine(argc, argv);
  if (!commandLine.options) return commandLine.exitStatus;
  pellark::Runner runner(*commandLine.options);
  return commandLine.options->info ? runner.PrintInformation() : runner.Run();
}
