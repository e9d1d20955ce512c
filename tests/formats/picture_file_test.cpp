// Which reader a file goes to: by its extension in any case, else by its first bytes.

#include <gtest/gtest.h>

#include "formats/picture_file.h"
#include "formats/picture_format.h"
#include "support/icon_builder.h"
#include "support/picture_files.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

TEST(PictureFormat, TheExtensionChoosesTheReaderInAnyCase) {
    EXPECT_EQ(FormatOfExtension(ExtensionOf("/a/b/photo.JpG")), PictureFormat::Jpeg);
    EXPECT_EQ(FormatOfExtension(ExtensionOf("photo.jpeg")), PictureFormat::Jpeg);
    EXPECT_EQ(FormatOfExtension(ExtensionOf("x.Dib")), PictureFormat::Bmp);
    EXPECT_EQ(FormatOfExtension(ExtensionOf("x.ani")), PictureFormat::AnimatedCursor);
    EXPECT_EQ(FormatOfExtension(ExtensionOf("x.cur")), PictureFormat::Cursor);
    EXPECT_EQ(FormatOfExtension(ExtensionOf("x.avi")), PictureFormat::Avi);
    // Anything else is a GIF: other extensions, none, or a dot that belongs to a folder.
    EXPECT_EQ(FormatOfExtension(ExtensionOf("x.webp")), PictureFormat::Gif);
    EXPECT_EQ(ExtensionOf("/pictures.old/frame"), "");
    EXPECT_EQ(FormatOfExtension(ExtensionOf("/pictures.bmp/frame")), PictureFormat::Gif);
    EXPECT_EQ(ExtensionOf("name."), "");
}

TEST(PictureFile, ReadsByExtensionAndOtherwiseBySignature) {
    TempDir dir;
    const auto bmp = Bmp24File(3, 2, [](int32_t x, int32_t) { return x == 0 ? 0x102030u : 0u; });
    // A BMP named .dat is told by its signature; named .tga it goes to the TGA reader, which
    // refuses it.
    WriteBytes(dir / "p.dat", bmp);
    WriteBytes(dir / "p.tga", bmp);
    const PicturesReadResult sniffed = ReadPictureFile(dir / "p.dat");
    ASSERT_EQ(sniffed.pictures.size(), 1u) << sniffed.error;
    EXPECT_EQ(sniffed.pictures[0].width, 3);
    EXPECT_EQ(sniffed.pictures[0].pixels[0], 0x10);
    const PicturesReadResult named = ReadPictureFile(dir / "p.tga");
    EXPECT_TRUE(named.pictures.empty());
    EXPECT_NE(named.error.find("TGA"), std::string::npos) << named.error;

    AnimatedCursor cursor;
    for (uint32_t rgb : {0x0000FFu, 0x00FF00u, 0xFF0000u}) cursor.icons.push_back(IconFileBytes(SolidBitmap(2, 2, rgb)));
    WriteBytes(dir / "c.ANI", AnimatedCursorBytes(cursor));
    EXPECT_EQ(ReadPictureFile(dir / "c.ANI").pictures.size(), 3u);

    WriteBytes(dir / "movie.avi", {'R', 'I', 'F', 'F'});
    EXPECT_FALSE(ReadPictureFile(dir / "movie.avi").error.empty());
    EXPECT_EQ(ReadPictureFile(dir / "missing.png").error, "cannot open the file");
}

}  // namespace
}  // namespace anitrope::test
