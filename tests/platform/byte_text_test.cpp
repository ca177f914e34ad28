#include "platform/byte_text.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(ByteText, ExtensionsOfTheLastPathComponentUpperCased)
{
    EXPECT_EQ(text::upperExtension("/a/b/photo.jpeg"), "JPEG");
    EXPECT_EQ(text::upperExtension("x.y.Emf"), "EMF");
    EXPECT_EQ(text::upperExtension("写真.heic"), "HEIC");
    // A dot in a folder's name is no extension of the file.
    EXPECT_EQ(text::upperExtension("/pictures.old/README"), "");
    EXPECT_EQ(text::upperExtension("noextension"), "");
    EXPECT_EQ(text::upperExtension("trailing."), "");
}

} // namespace
} // namespace vimbrel
