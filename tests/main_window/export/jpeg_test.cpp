#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <map>
#include <vector>

#include "JpegWriter.h"

namespace {

// The zig-zag order in which a DQT segment lists the 64 table entries.
constexpr std::array<int, 64> kZigZag = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                         12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                         35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                         58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// The standard luminance and chrominance tables, in natural order.
constexpr std::array<int, 64> kLuminance = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                            14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                            18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                            49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::array<int, 64> kChrominance = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                              24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                              99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                              99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// A standard table scaled for a quality, as the file lists it.
std::array<int, 64> Scaled(const std::array<int, 64>& natural, int quality) {
  const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
  std::array<int, 64> out{};
  for (int i = 0; i < 64; ++i) out[i] = std::clamp((natural[kZigZag[i]] * scale + 50) / 100, 1, 255);
  return out;
}

struct Header {
  std::map<int, std::array<int, 64>> tables;  // by table number
  std::vector<int> frameMarkers;              // SOFn markers seen
  int precision = 0, height = 0, width = 0, components = 0;
};

Header ReadHeader(const QByteArray& jpeg) {
  Header h;
  auto byte = [&](qsizetype i) { return static_cast<unsigned char>(jpeg.at(i)); };
  EXPECT_EQ(byte(0), 0xFF);
  EXPECT_EQ(byte(1), 0xD8);
  qsizetype pos = 2;
  while (pos + 4 <= jpeg.size() && byte(pos) == 0xFF) {
    const int marker = byte(pos + 1);
    const int length = byte(pos + 2) << 8 | byte(pos + 3);
    const qsizetype body = pos + 4;
    if (marker == 0xDA) break;  // start of scan
    if (marker == 0xDB) {
      for (qsizetype t = body; t < pos + 2 + length; t += 65) {
        EXPECT_EQ(byte(t) >> 4, 0) << "8-bit table expected";
        auto& table = h.tables[byte(t) & 0x0F];
        for (int i = 0; i < 64; ++i) table[i] = byte(t + 1 + i);
      }
    }
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      h.frameMarkers.push_back(marker);
      h.precision = byte(body);
      h.height = byte(body + 1) << 8 | byte(body + 2);
      h.width = byte(body + 3) << 8 | byte(body + 4);
      h.components = byte(body + 5);
    }
    pos += 2 + length;
  }
  return h;
}

TEST(JpegWriter, BaselineQuality90FromRgbRows) {
  QImage picture(37, 23, QImage::Format_RGB32);
  picture.fill(Qt::white);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) picture.setPixelColor(x, y, QColor(200, 0, 0));
  const QByteArray jpeg = jpegwriter::EncodeJpeg(picture);

  const Header h = ReadHeader(jpeg);
  EXPECT_EQ(h.frameMarkers, std::vector<int>{0xC0});  // baseline, not progressive
  EXPECT_EQ(h.precision, 8);
  EXPECT_EQ(h.width, 37);
  EXPECT_EQ(h.height, 23);
  EXPECT_EQ(h.components, 3);
  ASSERT_EQ(h.tables.size(), 2u);
  EXPECT_EQ(h.tables.at(0), Scaled(kLuminance, 90));
  EXPECT_EQ(h.tables.at(1), Scaled(kChrominance, 90));

  QBuffer buffer;
  buffer.setData(jpeg);
  QImageReader reader(&buffer, "jpeg");
  const QImage decoded = reader.read();
  ASSERT_FALSE(decoded.isNull()) << reader.errorString().toStdString();
  EXPECT_EQ(decoded.size(), picture.size());
  EXPECT_FALSE(decoded.isGrayscale());
  const QColor red = decoded.pixelColor(7, 7);  // red stays red: the rows are fed as RGB
  EXPECT_GT(red.red(), 170);
  EXPECT_LT(red.green(), 40);
  EXPECT_LT(red.blue(), 40);
  EXPECT_GT(decoded.pixelColor(30, 20).lightness(), 240);
}

TEST(JpegWriter, EmptyPictureGivesNoBytes) {
  EXPECT_TRUE(jpegwriter::EncodeJpeg(QImage()).isEmpty());
  EXPECT_TRUE(jpegwriter::EncodeJpeg(QImage(5, 0, QImage::Format_RGB32)).isEmpty());
}

TEST(JpegWriter, LibraryErrorIsThrownNotFatal) {
  // Sizes past the format's 65500 limit make the library fail.
  QImage tooWide(70000, 1, QImage::Format_RGB32);
  ASSERT_FALSE(tooWide.isNull());
  tooWide.fill(Qt::white);
  EXPECT_THROW(jpegwriter::EncodeJpeg(tooWide), jpegwriter::EJpegError);
}

}  // namespace
