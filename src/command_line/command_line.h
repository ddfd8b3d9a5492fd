#pragma once

// The program started with arguments: the convert or the check command, or the answer to
// --help or --version. Gives back the exit status: 0 done, 1 refused, 2 not understood, 3
// checked with warnings.
int RunCommandLine(int argc, char *argv[]);
