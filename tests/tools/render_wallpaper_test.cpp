// mandalix-render --set-wallpaper without a display: the picture is written, the
// wallpaper is not, and one line says why with exit status 1.
#include "render_process.h"

namespace mandalix {
namespace {

TEST_F(MandalixRender, SetWallpaperWithoutADisplayWritesThePictureAndSaysWhyInOneLine)
{
    const QByteArray earlier = qgetenv("MANDALIX_WALLPAPER_DIR");
    qputenv("MANDALIX_WALLPAPER_DIR", path("wallpapers").toUtf8());
    const Finished result = run({"--seed", "100", "a.png", "--set-wallpaper"});
    earlier.isNull() ? qunsetenv("MANDALIX_WALLPAPER_DIR") : qputenv("MANDALIX_WALLPAPER_DIR", earlier);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "mandalix-render: Could not set the wallpaper: no X display\n");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(QImage(path("a.png")).size(), QSize(453, 453));
    EXPECT_FALSE(QFileInfo::exists(path("wallpapers")));
}

} // namespace
} // namespace mandalix
