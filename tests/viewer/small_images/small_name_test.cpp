#include "viewer/small_images/small_name.h"

#include <gtest/gtest.h>

#include "viewer/pictures/picture_loader.h"

namespace vimbrel {
namespace {

TEST(SmallName, ReplacesTheLastExtensionOrAppendsOne)
{
    EXPECT_EQ(SmallName("a.JPG"), "a.jpg");
    EXPECT_EQ(SmallName("x.y.bmp"), "x.y.jpg");
    EXPECT_EQ(SmallName("README"), "README.jpg");
}

TEST(SmallName, ADotBeforeASeparatorIsNoExtension)
{
    EXPECT_EQ(SmallName("v1.2\\name"), "v1.2\\name.jpg");
    EXPECT_EQ(SmallName("c.d:stream"), "c.d:stream.jpg");
    EXPECT_EQ(SmallName(".hidden"), ".jpg");
    EXPECT_EQ(SmallName("trailing."), "trailing.jpg");
    EXPECT_EQ(SmallName("写真.jpeg"), "写真.jpg");
}

TEST(PictureFormat, ChosenByExtensionIgnoringCase)
{
    EXPECT_EQ(pictureFormatOf("a.jpg"), PictureFormat::Jpeg);
    EXPECT_EQ(pictureFormatOf("a.JPEG"), PictureFormat::Jpeg);
    EXPECT_EQ(pictureFormatOf("a.Bmp"), PictureFormat::Bitmap);
    EXPECT_EQ(pictureFormatOf("a.ICO"), PictureFormat::Icon);
    EXPECT_EQ(pictureFormatOf("a.wmf"), PictureFormat::Metafile);
    EXPECT_EQ(pictureFormatOf("a.EMF"), PictureFormat::Metafile);
    EXPECT_EQ(pictureFormatOf("a.gif"), PictureFormat::None);
    EXPECT_EQ(pictureFormatOf("a.png"), PictureFormat::None);
    EXPECT_EQ(pictureFormatOf("jpg"), PictureFormat::None);
    EXPECT_EQ(pictureFormatOf("a.jpg.txt"), PictureFormat::None);
}

} // namespace
} // namespace vimbrel
