// Writes a synthetic catalogue to standard output:
//
//   g++ -O2 -std=c++20 tests/tools/gen_catalogue.cpp -o gen_catalogue
//   ./gen_catalogue 25000 ndk [seed] > events.ndk
//   ./gen_catalogue 1000 dek > events.dek
#include <cstdlib>
#include <iostream>
#include <string>

#include "gen_catalogue.hpp"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: gen_catalogue N ndk|dek [seed]\n";
    return 2;
  }
  const int n = std::atoi(argv[1]);
  const std::string format = argv[2];
  if (n < 0 || (format != "ndk" && format != "dek")) {
    std::cerr << "usage: gen_catalogue N ndk|dek [seed]\n";
    return 2;
  }
  const unsigned long long seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1;
  std::ios::sync_with_stdio(false);
  gen_catalogue::write_catalogue(std::cout, n, format == "ndk", seed);
  return 0;
}
