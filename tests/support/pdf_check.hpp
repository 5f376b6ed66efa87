// A PDF file the program wrote, checked by independent readers: qpdf (no warning at all,
// where it is installed) and poppler's pdfinfo, its startxref pointing at a cross-reference
// section, and what qpdf lets pass (cross-reference entries of 20 bytes pointing at their
// objects in every update, page-tree links and counts, the embedded font's checksum) by
// tests/tools/pdf_structure.py.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "support/command.hpp"

namespace korbast::testing {

// The page count pdfinfo reads, or -1 when a reader finds fault with the file (the reason
// in *why when asked).
inline int checked_pdf_pages(const std::string& file, std::string* why = nullptr) {
  auto fail = [&](const std::string& text) {
    if (why) *why = text;
    return -1;
  };
  std::ifstream in(file, std::ios::binary);
  const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto sx = pdf.rfind("startxref\n");
  if (sx == std::string::npos) return fail("no startxref");
  const long long at = std::atoll(pdf.c_str() + sx + 10);
  if (at <= 0 || pdf.compare(static_cast<std::size_t>(at), 5, "xref\n") != 0)
    return fail("startxref does not point at a cross-reference section");
  if (have_tool("qpdf")) {
    int status = 0;
    const std::string out = run_command("qpdf --check '" + file + "' 2>&1", &status);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || out.find("WARNING") != std::string::npos)
      return fail("qpdf --check: " + out);
    if (have_tool("python3")) {
      const std::string faults = run_command(std::string("python3 '") + KORBAST_SOURCE_DIR +
                                             "/tests/tools/pdf_structure.py' '" + file + "' 2>&1",
                                             &status);
      if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return fail("pdf_structure: " + faults);
    }
  }
  const std::string info = run_command("pdfinfo '" + file + "' 2>&1");
  const auto pages = info.find("\nPages:");
  if (info.find("Error") != std::string::npos || pages == std::string::npos)
    return fail("pdfinfo: " + info);
  return std::atoi(info.c_str() + pages + 7);
}

}  // namespace korbast::testing
