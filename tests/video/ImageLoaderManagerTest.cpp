#include "engine/video/ImageLoaderManager.h"

#include <gtest/gtest.h>

#include "ImageFixtures.h"
#include "engine/io/VirtualFile.h"
#include "engine/video/JpegImageEncoder.h"

namespace {

using namespace fixtures;

class ImageLoaderManagerTest : public ::testing::Test {
protected:
    CRefPointer<CImageLoaderManager> manager{new CImageLoaderManager()};

    CRefPointer<CSoftwareImage> load(const char* fixture, const std::string& name) {
        return manager->loadImage(memoryFile(read(fixture), name).get(), CContentKey());
    }
};

TEST_F(ImageLoaderManagerTest, ExtensionPassThenContentPass) {
    struct Case {
        const char* fixture;
        const char* name;
        int32_t format; // -1: no image
    };
    const Case cases[] = {
        {"rgba.png", "a.png", COLOR_FORMAT_A8R8G8B8},
        // The JPEG decoder takes "jpg" and fails; the content pass finds the PNG.
        {"rgba.png", "images/picture.JPG", COLOR_FORMAT_A8R8G8B8},
        {"raw-565.qimg", "noextension", COLOR_FORMAT_R5G6B5},
        {"raw-565.qimg", "archive.d/noextension", COLOR_FORMAT_R5G6B5},
        {"bad-magic.qimg", "a.QIMG", COLOR_FORMAT_A8R8G8B8},
        {"bad-magic.qimg", "a.bin", -1},
        {"nojfif.jpg", "a.jpg", COLOR_FORMAT_R8G8B8},
        {"nojfif.jpg", "a.jpeg", -1},
        {"baseline.jpg", "a.jpeg", COLOR_FORMAT_R8G8B8},
        {"image.jpga", "a.Jpga", COLOR_FORMAT_A8R8G8B8},
        {"image.jpga", "a.png", COLOR_FORMAT_A8R8G8B8},
        {"truncated.png", "a.png", -1},
        {"rgb.png", "a.txt", COLOR_FORMAT_R8G8B8},
    };
    for (const Case& c : cases) {
        const CRefPointer<CSoftwareImage> image = load(c.fixture, c.name);
        if (c.format < 0) {
            EXPECT_FALSE(image) << c.fixture << " as " << c.name;
            continue;
        }
        ASSERT_TRUE(image) << c.fixture << " as " << c.name;
        EXPECT_EQ(image->getFormat(), c.format) << c.fixture << " as " << c.name;
    }
    EXPECT_FALSE(manager->loadImage(nullptr, CContentKey()));
}

TEST_F(ImageLoaderManagerTest, TheImageCarriesTheKey) {
    const CContentKey key(nullptr, u"scenes/images/a.png");
    const CRefPointer<CSoftwareImage> image =
        manager->loadImage(memoryFile(read("rgb.png"), "x.JPG").get(), key);
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->getContentKey() == key);
}

TEST_F(ImageLoaderManagerTest, WritesWithTheEncoderOfTheExtension) {
    const CRefPointer<CSoftwareImage> image = load("rgb.png", "a.png");
    struct Case {
        const char16_t* name;
        bool written;
        uint8_t firstByte;
    };
    const Case cases[] = {
        {u"a.jpg", true, 0xFF}, {u"a.JPEG", true, 0xFF}, {u"a.Png", true, 0x89},
        {u"a.bmp", false, 0},   {u"jpg", false, 0},
    };
    for (const Case& c : cases) {
        CRefPointer<CVirtualFile> file(new CVirtualFile(c.name, 256));
        EXPECT_EQ(manager->writeImage(image.get(), file.get()), c.written);
        uint8_t first = 0;
        file->seekTo(0, false);
        file->readBytes(&first, 1);
        EXPECT_EQ(first, c.firstByte);
    }
    EXPECT_FALSE(manager->writeImage(
        nullptr, CRefPointer<CVirtualFile>(new CVirtualFile(u"a.png", 64)).get()));
}

TEST_F(ImageLoaderManagerTest, QualityIs100UnlessGiven) {
    const CRefPointer<CSoftwareImage> image = load("baseline.jpg", "a.jpg");
    auto bytesOf = [](CVirtualFile* file) {
        std::vector<uint8_t> bytes(size_t(file->getLength()));
        file->seekTo(0, false);
        file->readBytes(bytes.data(), int32_t(bytes.size()));
        return bytes;
    };
    CRefPointer<CVirtualFile> byManager(new CVirtualFile(u"a.jpg", 256));
    CRefPointer<CVirtualFile> at100(new CVirtualFile(u"a.jpg", 256));
    CRefPointer<CVirtualFile> at40(new CVirtualFile(u"a.jpg", 256));
    CRefPointer<CVirtualFile> given40(new CVirtualFile(u"a.jpg", 256));
    ASSERT_TRUE(manager->writeImage(image.get(), byManager.get()));
    ASSERT_TRUE(CJpegImageEncoder().write(at100.get(), image.get(), 100));
    ASSERT_TRUE(CJpegImageEncoder().write(at40.get(), image.get(), 40));
    ASSERT_TRUE(manager->writeImage(image.get(), given40.get(), 40));
    EXPECT_EQ(bytesOf(byManager.get()), bytesOf(at100.get()));
    EXPECT_EQ(bytesOf(given40.get()), bytesOf(at40.get()));
    EXPECT_NE(bytesOf(at40.get()), bytesOf(at100.get()));
}

} // namespace
