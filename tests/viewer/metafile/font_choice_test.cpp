// Which fonts draw a metafile's text: by the tool's own rule, so that the
// fonts a machine happens to have change no picture.
#include "viewer/metafile/font_choice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QProcess>

#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/support/gui_application_test.h"
#include "tests/support/page_test_support.h"
#include "tests/support/temp_folder.h"
#include "viewer/metafile/metafile_picture.h"

namespace vimbrel {
namespace {

GdiFont fontOf(const QString& face, uint8_t charset = 0, uint8_t pitchAndFamily = 0)
{
    GdiFont font;
    font.face = face;
    font.charset = charset;
    font.pitchAndFamily = pitchAndFamily;
    return font;
}

TEST(FontChoice, WindowsFacesGoToTheirTwinsAndOthersByTheirFamilyBits)
{
    const auto first = [](const GdiFont& font) { return font_choice::familiesFor(font).front(); };
    EXPECT_EQ(first(fontOf("Arial")), "Liberation Sans");
    EXPECT_EQ(first(fontOf("ARIAL")), "Liberation Sans");
    EXPECT_EQ(first(fontOf("Times New Roman")), "Liberation Serif");
    EXPECT_EQ(first(fontOf("Courier New")), "Liberation Mono");
    EXPECT_EQ(first(fontOf(QString::fromUtf8("ＭＳ Ｐゴシック"), 128)), "Noto Sans CJK JP");
    EXPECT_EQ(first(fontOf("MS Mincho", 128)), "Noto Serif CJK JP");
    EXPECT_EQ(font_choice::familiesFor(fontOf("Symbol", 2)),
              (QStringList{"Liberation Serif", "DejaVu Serif", "Noto Sans CJK JP", "DejaVu Sans"}));
    // Names the table does not know: by the family bits, the pitch, and the
    // character set.
    EXPECT_EQ(first(fontOf("Unknown Roman", 0, 0x12)), "Liberation Serif");
    EXPECT_EQ(first(fontOf("Unknown Swiss", 0, 0x22)), "Liberation Sans");
    EXPECT_EQ(first(fontOf("Unknown Modern", 0, 0x31)), "Liberation Mono");
    EXPECT_EQ(first(fontOf("Unknown Fixed", 0, 0x01)), "Liberation Mono");
    EXPECT_EQ(first(fontOf("Unknown")), "Liberation Sans");
    EXPECT_EQ(first(fontOf("Unknown Japanese", 128)), "Noto Sans CJK JP");
    EXPECT_EQ(first(fontOf("Unknown Symbols", 2)), "Liberation Serif");
    // Every list ends in the same wide families, so that a character the
    // first lacks never comes from whatever else is installed.
    EXPECT_EQ(font_choice::familiesFor(fontOf("Arial")).mid(1),
              (QStringList{"Noto Sans CJK JP", "DejaVu Sans"}));
}

using FontChoiceGui = testing::GuiApplicationTest;

TEST_F(FontChoiceGui, TheChosenFamiliesHaveTheSymbolFontsCharacters)
{
    QFont symbol;
    symbol.setFamilies(font_choice::familiesFor(fontOf("Symbol", 2)));
    const QFontMetricsF metrics(symbol);
    // Greek letters, the sum and the bracket pieces formulas are built of.
    for (const char32_t c : {U'Δ', U'ρ', U'π', U'∑', U'∫', U'≤', U'⎛', U'⎝', U'⎞'}) {
        EXPECT_TRUE(metrics.inFontUcs4(uint(c))) << uint(c);
    }
}

TEST_F(FontChoiceGui, TextIsSmoothedAtTheSizesTheFontAsks)
{
    // Liberation Sans asks for smoothing up to 8 pixels, crisp glyphs on the
    // grid up to 17, and both above.
    QFont font;
    font.setFamilies(font_choice::familiesFor(fontOf("Arial")));
    for (const auto& [pixels, smoothed] :
         {std::pair{8, true}, {12, false}, {17, false}, {30, true}}) {
        font.setPixelSize(pixels);
        EXPECT_EQ(font_choice::smoothed(font), smoothed) << pixels;
    }
}

// The corpus's pictures with text.
const char* const kTextPictures[] = {"formula1.wmf", "formula2.wmf", "formula3.wmf",
                                     "formula4.wmf", "fulltest.wmf", "text.wmf",
                                     "cell.wmf",     "test-019.emf", "test-068.emf"};

std::string corpusPictures()
{
    return testing::sourceFolder() + "/../shared/corpus/metafile/pictures/";
}

// Run in a process of its own by the next test: draws the text pictures into
// the folder VIMBREL_DRAW_METAFILES_INTO names.
TEST_F(FontChoiceGui, DrawTextPicturesInto)
{
    const char* folder = std::getenv("VIMBREL_DRAW_METAFILES_INTO");
    if (folder == nullptr) {
        GTEST_SKIP() << "run by OtherFontsInstalledChangeNoPicture";
    }
    for (const char* name : kTextPictures) {
        const QImage drawn = loadMetafilePicture(corpusPictures() + name);
        ASSERT_FALSE(drawn.isNull()) << name;
        ASSERT_TRUE(drawn.save(QString::fromStdString(std::string(folder) + "/" + name + ".png")));
    }
}

// fontconfig rules that answer the names metafiles ask for with URW's fonts,
// as a machine where those fonts are the best match would.
std::string aliases()
{
    std::string rules;
    for (const auto& [asked, answer] :
         {std::pair{"Arial", "Nimbus Sans"}, std::pair{"Times New Roman", "Nimbus Roman"},
          std::pair{"Courier New", "Nimbus Mono PS"}, std::pair{"Symbol", "Standard Symbols PS"},
          std::pair{"Wingdings", "D050000L"}}) {
        rules += std::string("  <match target=\"pattern\"><test name=\"family\"><string>") + asked +
                 "</string></test><edit name=\"family\" mode=\"prepend\" "
                 "binding=\"strong\"><string>" +
                 answer + "</string></edit></match>\n";
    }
    return rules;
}

// The text pictures drawn in a process that sees only the machine's fonts,
// and in one whose font configuration adds URW's fonts (as ghostscript
// brings them) and answers the names metafiles ask for (Arial, Times New
// Roman, Courier New, Symbol, Wingdings) with them: the same pixels.
TEST(MetafileFonts, OtherFontsInstalledChangeNoPicture)
{
    const std::string extraFonts = VIMBREL_EXTRA_FONTS;
    ASSERT_TRUE(QDir(QString::fromStdString(extraFonts)).exists())
        << "URW's fonts are needed at " << extraFonts << " (scripts/test.sh unpacks them)";
    testing::TempFolder root;
    const std::string plain = root.makeFolder("plain");
    const std::string extra = root.makeFolder("extra");
    std::ofstream(root / "fonts.conf")
        << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
        << "  <include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>\n"
        << "  <dir>" << extraFonts << "</dir>\n"
        << "  <cachedir>" << root / "cache"
        << "</cachedir>\n"
        << aliases() << "</fontconfig>\n";
    const auto draw = [&](const std::string& into, bool withExtraFonts) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VIMBREL_DRAW_METAFILES_INTO", QString::fromStdString(into));
        if (withExtraFonts) {
            environment.insert("FONTCONFIG_FILE", QString::fromStdString(root / "fonts.conf"));
        }
        child.setProcessEnvironment(environment);
        // This very test program, run again for the one drawing test.
        child.start("/proc/self/exe", {"--gtest_filter=FontChoiceGui.DrawTextPicturesInto"});
        EXPECT_TRUE(child.waitForFinished(300000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    };
    draw(plain, false);
    draw(extra, true);
    for (const char* name : kTextPictures) {
        const QImage a(QString::fromStdString(plain + name + ".png"));
        const QImage b(QString::fromStdString(extra + name + ".png"));
        ASSERT_FALSE(a.isNull()) << name;
        EXPECT_EQ(a, b) << name << " changed with other fonts installed";
    }
}

} // namespace
} // namespace vimbrel
