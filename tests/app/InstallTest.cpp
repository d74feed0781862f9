// The program installed into a fresh prefix and started from elsewhere, as the desktop
// starts it: it finds its skin, cursors, pages and decoder helper there, and the desktop
// files validate.
#include "ProgramDriver.h"

#include "layout/WindowLayout.h"

#include <filesystem>

namespace {

using namespace xdisplay;
namespace fs = std::filesystem;

class InstallTest : public ProgramTest {
protected:
    fs::path Folder() const { return fs::path(ReportPath()).parent_path(); }
};

} // namespace

TEST_F(InstallTest, InstalledProgramRunsFromAnotherFolderAndItsDesktopFilesValidate)
{
    const fs::path prefix = Folder() / "prefix";
    ASSERT_EQ(RunShell("cmake --install '" MIRAVO_BUILD_DIR "' --prefix '" + prefix.string() + "'").exitCode, 0);
    const fs::path data = prefix / "share/miravo/data";
    for (const fs::path& file : {prefix / "bin/miravo", prefix / "libexec/miravo/miravo-decoder", data / "main.bmp", data / "main@2x.bmp", data / "bc.cur",
                                 data / "pages/help.html", prefix / "share/applications/org.miravo.Miravo.desktop",
                                 prefix / "share/metainfo/org.miravo.Miravo.metainfo.xml"}) {
        EXPECT_TRUE(fs::exists(file)) << file;
    }
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const QImage icon(QString::fromStdString((prefix / "share/icons/hicolor" / name / "apps/org.miravo.Miravo.png").string()));
        EXPECT_EQ(icon.size(), QSize(size, size)) << name;
    }
    const QImage scalable(QString::fromStdString((prefix / "share/icons/hicolor/scalable/apps/org.miravo.Miravo.svg").string()));
    ASSERT_FALSE(scalable.isNull()) << "the scalable icon reads as SVG";
    EXPECT_EQ(qAlpha(scalable.pixel(scalable.width() / 2, scalable.height() / 2)), 255);
    EXPECT_FALSE(fs::exists(data / "hicolor")) << "theme icons go to the theme only";
    const auto validate = [](const std::string& command) { return RunShell(command + " 2>&1"); };
    const auto desktop = validate("desktop-file-validate '" + (prefix / "share/applications/org.miravo.Miravo.desktop").string() + "'");
    EXPECT_TRUE(desktop.exitCode == 0 && desktop.output.empty()) << desktop.output;
    const auto metainfo = validate("appstreamcli validate --no-net '" + (prefix / "share/metainfo/org.miravo.Miravo.metainfo.xml").string() + "'");
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.output;

    // Started from the test's own folder with a picture named relative to it, of a kind
    // the decoder helper opens.
    ASSERT_TRUE(QImage(MIRAVO_SAMPLES_DIR "/portrait.png").save(QString::fromStdString((Folder() / "portrait.tiff").string())));
    Start("'" + (prefix / "bin/miravo").string() + "' portrait.tiff");
    const std::string window = WaitForWindow("^Miravo$");
    ASSERT_FALSE(window.empty()) << Log();
    const gfx::Rect save = layout::PlaceOf(layout::kMainWidgets, "save");
    const QImage enabled = Area(Skin("main.bmp"), save);
    const QImage shot = WaitForShot([&](const QImage& s) { return Shows(s, save, enabled); }, window);
    EXPECT_TRUE(Shows(shot, save, enabled)) << "the skin shows, save enabled: a picture is open. " << Log();
    EXPECT_EQ(Log().find("cursor"), std::string::npos) << Log();
}
