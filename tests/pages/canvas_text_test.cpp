#include "pages/canvas_text.hpp"

#include <gtest/gtest.h>

#include <string>

namespace korbast::pages {
namespace {

TEST(TextToUtf8, AsciiPassesUnchanged) {
  EXPECT_EQ(text_to_utf8("Lat 45 N, depth 10 km"), "Lat 45 N, depth 10 km");
  EXPECT_EQ(text_to_utf8(""), "");
}

TEST(TextToUtf8, OldCharacterSetBytesBecomeTheirCharacters) {
  EXPECT_EQ(text_to_utf8("2\xA1" "E"), "2\xC2\xB0" "E");         // degree sign
  EXPECT_EQ(text_to_utf8("\xA4\xA4"), "\xC2\xA7\xC2\xA7");       // section signs
  EXPECT_EQ(text_to_utf8("\x8A\xA5"), "\xC3\xA4\xE2\x80\xA2");   // a-umlaut, bullet
}

TEST(TextToUtf8, EveryHighByteMatchesIconv) {
  // printf every byte 0x80..0xFF | iconv -f MACINTOSH -t UTF-8 (glibc), split per byte.
  // 0xF0 is left out: glibc maps it to U+E01E, this program to U+F8FF.
  const std::string iconv_all =
      "\xc3\x84\xc3\x85\xc3\x87\xc3\x89\xc3\x91\xc3\x96\xc3\x9c\xc3\xa1\xc3\xa0\xc3\xa2\xc3\xa4\xc3\xa3"
      "\xc3\xa5\xc3\xa7\xc3\xa9\xc3\xa8\xc3\xaa\xc3\xab\xc3\xad\xc3\xac\xc3\xae\xc3\xaf\xc3\xb1\xc3\xb3"
      "\xc3\xb2\xc3\xb4\xc3\xb6\xc3\xb5\xc3\xba\xc3\xb9\xc3\xbb\xc3\xbc\xe2\x80\xa0\xc2\xb0\xc2\xa2\xc2"
      "\xa3\xc2\xa7\xe2\x80\xa2\xc2\xb6\xc3\x9f\xc2\xae\xc2\xa9\xe2\x84\xa2\xc2\xb4\xc2\xa8\xe2\x89\xa0"
      "\xc3\x86\xc3\x98\xe2\x88\x9e\xc2\xb1\xe2\x89\xa4\xe2\x89\xa5\xc2\xa5\xc2\xb5\xe2\x88\x82\xe2\x88"
      "\x91\xe2\x88\x8f\xcf\x80\xe2\x88\xab\xc2\xaa\xc2\xba\xce\xa9\xc3\xa6\xc3\xb8\xc2\xbf\xc2\xa1\xc2"
      "\xac\xe2\x88\x9a\xc6\x92\xe2\x89\x88\xce\x94\xc2\xab\xc2\xbb\xe2\x80\xa6\xc2\xa0\xc3\x80\xc3\x83"
      "\xc3\x95\xc5\x92\xc5\x93\xe2\x80\x93\xe2\x80\x94\xe2\x80\x9c\xe2\x80\x9d\xe2\x80\x98\xe2\x80\x99"
      "\xc3\xb7\xe2\x97\x8a\xc3\xbf\xc5\xb8\xe2\x81\x84\xe2\x82\xac\xe2\x80\xb9\xe2\x80\xba\xef\xac\x81"
      "\xef\xac\x82\xe2\x80\xa1\xc2\xb7\xe2\x80\x9a\xe2\x80\x9e\xe2\x80\xb0\xc3\x82\xc3\x8a\xc3\x81\xc3"
      "\x8b\xc3\x88\xc3\x8d\xc3\x8e\xc3\x8f\xc3\x8c\xc3\x93\xc3\x94\xee\x80\x9e\xc3\x92\xc3\x9a\xc3\x9b"
      "\xc3\x99\xc4\xb1\xcb\x86\xcb\x9c\xc2\xaf\xcb\x98\xcb\x99\xcb\x9a\xc2\xb8\xcb\x9d\xcb\x9b\xcb\x87";
  std::size_t pos = 0;
  for (int b = 0x80; b <= 0xFF; ++b) {
    const auto lead = static_cast<unsigned char>(iconv_all[pos]);
    const std::size_t len = lead < 0xE0 ? 2 : 3;
    const std::string expected = iconv_all.substr(pos, len);
    pos += len;
    if (b == 0xF0) {
      EXPECT_EQ(text_to_utf8(std::string(1, static_cast<char>(b))), "\xEF\xA3\xBF");
      continue;
    }
    EXPECT_EQ(text_to_utf8(std::string(1, static_cast<char>(b))), expected) << "byte " << b;
  }
  EXPECT_EQ(pos, iconv_all.size());
}

TEST(TextToUtf8, ValidUtf8IsKept) {
  EXPECT_EQ(text_to_utf8("45\xC2\xB0N"), "45\xC2\xB0N");
  // A lone lead byte is not UTF-8: it alone is read in the old set.
  EXPECT_EQ(text_to_utf8("\xC2" "A"), "\xC2\xAC" "A");  // not sign
  // "Séisme" in UTF-8 beside an old-set degree sign: each kept as what it is.
  EXPECT_EQ(text_to_utf8("S\xC3\xA9isme 45\xA1"), "S\xC3\xA9isme 45\xC2\xB0");
  EXPECT_EQ(text_to_latin1("S\xC3\xA9isme 45\xA1 \xE2\x82\xAC"), "S\xE9isme 45\xB0 ?");
}

TEST(TextToUtf8, ControlBytesBecomeBlanks) {
  EXPECT_EQ(text_to_utf8(std::string("A\0B\tC", 5)), "A B C");
}

TEST(PageFiles, BaseFromPlotName) {
  EXPECT_EQ(page_file_base("seis.ps                            "), "seis");
  EXPECT_EQ(page_file_base("seis.map.ps"), "seis.map");
  EXPECT_EQ(page_file_base("fps_bb.ps"), "fps_bb");
  EXPECT_EQ(page_file_base("  Next_plot  "), "Next_plot");
  EXPECT_EQ(page_file_base("my plot/1*"), "my_plot_1_");
  EXPECT_EQ(page_file_base("x.PS"), "x.PS");
  EXPECT_EQ(page_file_base("\xA1" "a"), "_a");
  EXPECT_EQ(page_file_base(""), "plot");
  EXPECT_EQ(page_file_base("   "), "plot");
  EXPECT_EQ(page_file_base(".ps"), "plot");
}

TEST(PageFiles, Names) {
  EXPECT_EQ(page_png_name("seis", 1, 1), "seis_w1_p001.png");
  EXPECT_EQ(page_png_name("fps_bb", 12, 1250), "fps_bb_w12_p1250.png");
  EXPECT_EQ(page_pdf_name("seis", 3), "seis_w3.pdf");
}

}  // namespace
}  // namespace korbast::pages
