// pellmore-archive: the entry point; everything else is RunArchiveTool.
#include <iostream>
#include <string>
#include <vector>

#include "ArchiveTool.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return archive_tool::RunArchiveTool(args, std::cout, std::cerr);
}
