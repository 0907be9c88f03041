// Prints the plain text the comment's RTF reader gives for the file named by
// its argument, for the scripts that check RTF written by other programs.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "core/rtf/rich_text.h"
#include "core/rtf/rtf_reader.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE.rtf\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
    return 1;
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  std::cout << qv70::PlainText(qv70::ReadRtf(bytes.str())) << "\n";
  return 0;
}
