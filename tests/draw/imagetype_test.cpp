#include <gtest/gtest.h>

#include <string>

#include "draw/imageio_p.h"

using namespace plotvane;

namespace {

int typeOf(const std::string& bytes) {
    return getImageType(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
}

std::pair<int, int> sizeOf(const std::string& bytes) {
    int w = -1, h = -1;
    getImageSize(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()), w, h);
    return {w, h};
}

const std::pair<int, int> kUnknown{0, 0};

}  // namespace

TEST(ImageType, RecognisesTheFirstBytes) {
    EXPECT_EQ(typeOf("\x89PNG"), kImagePNG);
    EXPECT_EQ(typeOf("GIF89a"), kImageGIF);
    EXPECT_EQ(typeOf("\xff\xd8\xff"), kImageJPG);
    EXPECT_EQ(typeOf("BMx"), kImageBMP);
    EXPECT_EQ(typeOf("BM"), kImageUnknown);  // fewer than three bytes
    EXPECT_EQ(typeOf("\xff\xd8\x00"), kImageUnknown);
    EXPECT_EQ(typeOf("<svg"), kImageUnknown);
    EXPECT_EQ(getImageType(nullptr, 10), kImageUnknown);
}

TEST(ImageType, SizesFromHeaders) {
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x03\x20\0\0\x02\x58", 24);
    EXPECT_EQ(sizeOf(png), std::make_pair(800, 600));
    EXPECT_EQ(sizeOf(png.substr(0, 23)), kUnknown);
    EXPECT_EQ(sizeOf(std::string("GIF89a\x2c\x01\xc8\x00", 10)), std::make_pair(300, 200));
    EXPECT_EQ(sizeOf(std::string("GIF89a\x2c\x01\xc8", 9)), kUnknown);
    std::string bmp(26, '\0');
    bmp[0] = 'B', bmp[1] = 'M', bmp[18] = 10, bmp[22] = '\xfb', bmp[23] = bmp[24] = bmp[25] = '\xff';
    EXPECT_EQ(sizeOf(bmp), std::make_pair(10, 5));  // negative height: rows stored top-down
    EXPECT_EQ(sizeOf(bmp.substr(0, 25)), kUnknown);
    std::string zeroWide = png;
    zeroWide[18] = zeroWide[19] = '\0';
    EXPECT_EQ(sizeOf(zeroWide), kUnknown);
}

TEST(ImageType, JpegMarkerScan) {
    const std::string soi("\xff\xd8", 2);
    const std::string app0("\xff\xe0\x00\x04\xab\xcd", 6);
    const std::string sof2("\xff\xc2\x00\x0b\x08\x01\x2c\x02\x58\x03\x01", 11);  // 600 x 300
    EXPECT_EQ(sizeOf(soi + app0 + sof2), std::make_pair(600, 300));
    EXPECT_EQ(sizeOf(soi + "\xff\xff\xff" + app0.substr(1) + "\xff\xff" + sof2), std::make_pair(600, 300));
    EXPECT_EQ(sizeOf(soi + std::string("\xff\xc4\x00\x02", 4) + sof2), std::make_pair(600, 300));  // DHT is not a frame
    for (size_t cut = 0; cut < (soi + app0 + sof2).size() - 2; ++cut)
        EXPECT_EQ(sizeOf((soi + app0 + sof2).substr(0, cut)), kUnknown) << cut;
    EXPECT_EQ(sizeOf(soi + std::string("\xff\xda\x00\x02", 4) + sof2), kUnknown);   // scan before any frame
    EXPECT_EQ(sizeOf(soi + "\xff\xd9" + sof2), kUnknown);           // end of image
    EXPECT_EQ(sizeOf(soi + std::string("\xff\xe1\x00\x01", 4) + sof2), kUnknown);  // length below 2
    EXPECT_EQ(sizeOf(soi + std::string("\xff\xe1\xff\xff", 4) + sof2), kUnknown);  // skips past the end
}
