// Every picture the windows load is in the resources, decodes, and has the size the
// layout was drawn for. The backgrounds also prove that the JPEG decoder is present.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QString>

namespace {

struct PictureSet {
    const char* name;  // resource path, "%1" standing for the index when count > 0
    int count;         // 0 for a single picture
    int width;
    int height;
    const char* format;
};

const PictureSet kPictures[] = {
    {":/imagelists/open/%1.png", 3, 96, 96, "png"},
    {":/imagelists/save/%1.png", 3, 96, 96, "png"},
    {":/imagelists/convert/%1.png", 3, 96, 96, "png"},
    {":/imagelists/stop/%1.png", 3, 96, 96, "png"},
    {":/imagelists/about/%1.png", 3, 96, 96, "png"},
    {":/imagelists/close/%1.png", 3, 96, 96, "png"},
    {":/imagelists/shortcuts_normal/%1.png", 15, 44, 39, "png"},
    {":/imagelists/shortcuts_hover/%1.png", 15, 44, 39, "png"},
    {":/imagelists/shortcuts_pressed/%1.png", 15, 44, 39, "png"},
    {":/backgrounds/main_panel.jpg", 0, 761, 494, "jpeg"},
    {":/backgrounds/dialog.jpg", 0, 626, 274, "jpeg"},
    {":/splash/splash_fr.png", 0, 697, 340, "png"},
    {":/splash/splash_en.png", 0, 697, 340, "png"},
    {":/icons/transcoda.png", 0, 64, 64, "png"},
};

TEST(Artwork, EveryPictureDecodesAtItsSize) {
    for (const PictureSet& set : kPictures) {
        // The image lists also come at twice their size, for screens that scale by two.
        const bool list = QString(set.name).startsWith(":/imagelists/");
        for (int scale = 1; scale <= (list ? 2 : 1); ++scale) {
            for (int i = 0; i < std::max(1, set.count); ++i) {
                QString name = set.count ? QString(set.name).arg(i) : QString(set.name);
                if (scale == 2) name.replace(".png", "@2x.png");
                QImageReader reader(name);
                EXPECT_EQ(reader.format().toStdString(), set.format) << name.toStdString();
                const QImage image = reader.read();
                ASSERT_FALSE(image.isNull()) << name.toStdString() << ": " << reader.errorString().toStdString();
                EXPECT_EQ(image.width(), set.width * scale) << name.toStdString();
                EXPECT_EQ(image.height(), set.height * scale) << name.toStdString();
            }
        }
    }
}

TEST(Artwork, ThreeStatesOfAButtonDiffer) {
    for (const char* list : {"open", "convert", "stop", "shortcuts"}) {
        const bool shortcut = QString(list) == "shortcuts";
        auto load = [&](const char* state, int index) {
            return QImage(shortcut ? QString(":/imagelists/shortcuts_%1/7.png").arg(state)
                                   : QString(":/imagelists/%1/%2.png").arg(list).arg(index));
        };
        const QImage normal = load("normal", 0), pressed = load("pressed", 1), hover = load("hover", 2);
        EXPECT_NE(normal, pressed) << list;
        EXPECT_NE(normal, hover) << list;
        EXPECT_NE(pressed, hover) << list;
    }
}

}  // namespace
