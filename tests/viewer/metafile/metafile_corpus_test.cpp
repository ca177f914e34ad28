#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/support/gui_application_test.h"
#include "tests/support/page_test_support.h"
#include "tests/support/temp_folder.h"
#include "viewer/metafile/metafile_picture.h"

namespace vimbrel {
namespace {

// The metafiles of shared/corpus/metafile and their renderings by Wine's GDI
// and by LibreOffice.
std::string corpusFolder()
{
    return testing::sourceFolder() + "/../shared/corpus/metafile/";
}

// Each picture's figures when this table was last raised, beside this test;
// a picture may not fall more than 0.5 dB below its figure, and the median
// against GDI may not fall.
std::string baselinePath()
{
    return testing::sourceFolder() + "/tests/viewer/metafile/metafile_psnr_baseline.txt";
}

// The picture blurred with a Gaussian of sigma 1 pixel (radius 3, edges
// repeated), as RGB rows of doubles; a blur lets a line that lies one pixel
// off cost a little rather than everything.
std::vector<double> blurred(const QImage& picture)
{
    // The references keep the picture's transparent background; both sides
    // are laid on white first.
    QImage rgb(picture.size(), QImage::Format_RGB32);
    rgb.fill(Qt::white);
    QPainter(&rgb).drawImage(0, 0, picture);
    const int width = rgb.width();
    const int height = rgb.height();
    double kernel[7];
    double sum = 0;
    for (int i = -3; i <= 3; ++i) {
        kernel[i + 3] = std::exp(-0.5 * i * i);
        sum += kernel[i + 3];
    }
    for (double& k : kernel) {
        k /= sum;
    }
    std::vector<double> across(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            double r = 0, g = 0, b = 0;
            for (int i = -3; i <= 3; ++i) {
                const QRgb p = line[std::clamp(x + i, 0, width - 1)];
                r += kernel[i + 3] * qRed(p);
                g += kernel[i + 3] * qGreen(p);
                b += kernel[i + 3] * qBlue(p);
            }
            double* out = &across[(size_t(y) * width + x) * 3];
            out[0] = r;
            out[1] = g;
            out[2] = b;
        }
    }
    std::vector<double> both(across.size());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                double v = 0;
                for (int i = -3; i <= 3; ++i) {
                    v += kernel[i + 3] *
                         across[(size_t(std::clamp(y + i, 0, height - 1)) * width + x) * 3 + c];
                }
                both[(size_t(y) * width + x) * 3 + c] = v;
            }
        }
    }
    return both;
}

// PSNR in dB of `drawn` against `reference` after the blur; 0 when the
// player drew nothing. Where the two differ in size (the references are
// drawn at LibreOffice's idea of a picture's size, often at 72 pixels per
// inch where the player keeps the picture's own), the larger is scaled down
// to the smaller, so that neither side is judged by the blur of enlarging it.
double psnr(const QImage& drawn, const QImage& referencePicture)
{
    if (drawn.isNull()) {
        return 0;
    }
    const bool oursLarger = qint64(drawn.width()) * drawn.height() >
                            qint64(referencePicture.width()) * referencePicture.height();
    const QSize size = oursLarger ? referencePicture.size() : drawn.size();
    const auto toSize = [&](const QImage& image) {
        return image.size() == size
                   ? image
                   : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    const QImage ours = toSize(drawn);
    const QImage reference = toSize(referencePicture);
    const std::vector<double> a = blurred(ours);
    const std::vector<double> b = blurred(reference);
    double squared = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        squared += (a[i] - b[i]) * (a[i] - b[i]);
    }
    const double mean = squared / double(a.size());
    return mean <= 1e-10 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mean);
}

// Each picture's figures when this table was last raised: PSNR against the
// GDI rendering and against LibreOffice's.
struct Figures
{
    double gdi = 0;
    double libreOffice = 0;
};

std::map<std::string, Figures> readBaseline(double& medianAgainstGdi)
{
    std::map<std::string, Figures> figures;
    std::istringstream lines(testing::readFile(baselinePath()));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string name;
        Figures figure;
        if (line.rfind("# median against GDI", 0) == 0) {
            std::istringstream(line.substr(20)) >> medianAgainstGdi;
        } else if (!line.empty() && line[0] != '#' &&
                   words >> name >> figure.gdi >> figure.libreOffice) {
            figures[name] = figure;
        }
    }
    return figures;
}

// The pictures where Wine's GDI is known not to draw as Windows does (the
// references' own README): fixed mapping modes in EMF, the Symbol font, pens
// made with a bitmap brush, RGN_DIFF clipping, EMR_SMALLTEXTOUT and font
// charset 255. They are judged against LibreOffice's renderings instead.
bool wineIsNotWindows(const std::string& name)
{
    static const std::set<std::string> kNames = {
        "test-042.emf", "test-043.emf", "test-046.emf", "test-047.emf", "test-049.emf",
        "formula1.wmf", "formula2.wmf", "formula3.wmf", "formula4.wmf", "p0000001.wmf",
        "p0000016.wmf", "text.wmf",     "test-000.emf", "test-013.emf", "test-014.emf",
        "test-015.emf", "test-016.emf", "test-017.emf", "test-039.emf", "test-040.emf",
        "test-051.emf", "test-075.emf", "test-060.emf", "test-082.emf"};
    return kNames.count(name) > 0;
}

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Text is drawn only where a GUI application provides fonts, as in the
// window and vimbrel-cli.
using MetafileCorpus = testing::GuiApplicationTest;

TEST_F(MetafileCorpus, NoPictureFallsBelowItsFigures)
{
    ASSERT_NE(qobject_cast<QGuiApplication*>(QCoreApplication::instance()), nullptr);
    const QStringList pictures = QDir(QString::fromStdString(corpusFolder() + "pictures"))
                                     .entryList(QDir::Files, QDir::Name);
    ASSERT_GT(pictures.size(), 100) << "the metafile corpus is missing at " << corpusFolder();
    double baselineMedian = 0;
    const std::map<std::string, Figures> baseline = readBaseline(baselineMedian);
    std::vector<double> againstGdi;
    std::vector<double> againstLibreOffice;
    std::vector<double> referencesAgree;
    std::pair<double, std::string> mostWork;
    std::ostringstream table;
    std::ostringstream disagreeing;
    table << std::fixed << std::setprecision(2);
    disagreeing << std::fixed << std::setprecision(2);
    for (const QString& picture : pictures) {
        const std::string name = picture.toStdString();
        // Real pictures stay far within the budget that stops hostile ones.
        DrawBudget budget;
        const QImage ours = loadMetafilePicture(corpusFolder() + "pictures/" + name, budget);
        EXPECT_EQ(budget.state(), DrawBudget::State::Within) << name;
        EXPECT_LT(budget.spent(), DrawBudget::Limits{}.work / 4) << name;
        mostWork = std::max(mostWork, std::pair{budget.spent(), name});
        const QImage gdi(QString::fromStdString(corpusFolder() + "reference-gdi/" + name + ".png"));
        const QImage libreOffice(
            QString::fromStdString(corpusFolder() + "reference/" + name + ".png"));
        if (gdi.isNull() || libreOffice.isNull()) {
            ADD_FAILURE() << name << ": a reference cannot be read";
            continue;
        }
        // For looking at a picture next to its references.
        if (const char* folder = std::getenv("VIMBREL_WRITE_METAFILE_RENDERINGS")) {
            ours.save(QString::fromStdString(std::string(folder) + "/" + name + ".png"));
        }
        const Figures figure{psnr(ours, gdi), psnr(ours, libreOffice)};
        const double agree = psnr(libreOffice, gdi);
        const bool byLibreOffice = wineIsNotWindows(name);
        table << name << '\t' << figure.gdi << '\t' << figure.libreOffice << '\t' << agree
              << (byLibreOffice ? "\tjudged against LibreOffice" : "") << '\n';
        // Where the references judge the player more than 6 dB apart,
        // neither is ground truth: worth a look.
        if (std::abs(figure.gdi - figure.libreOffice) > 6) {
            disagreeing << ' ' << name << " (" << figure.gdi << " / " << figure.libreOffice << ")";
        }
        if (!byLibreOffice) {
            // Drawn wrong, not a little differently, below this.
            EXPECT_GE(figure.gdi, 18.0) << name << " is far from GDI's drawing";
            againstGdi.push_back(figure.gdi);
            againstLibreOffice.push_back(figure.libreOffice);
            referencesAgree.push_back(agree);
        }
        const auto known = baseline.find(name);
        if (known == baseline.end()) {
            ADD_FAILURE() << name << " has no figures in " << baselinePath();
            continue;
        }
        if (byLibreOffice) {
            EXPECT_GE(figure.libreOffice, known->second.libreOffice - 0.5)
                << name << " got worse against LibreOffice";
        } else {
            EXPECT_GE(figure.gdi, known->second.gdi - 0.5) << name << " got worse against GDI";
        }
    }
    const double median = medianOf(againstGdi);
    std::cout << "picture\tagainst GDI\tagainst LibreOffice\tLibreOffice against GDI\n"
              << table.str() << "medians over the " << againstGdi.size()
              << " pictures judged against GDI: player vs GDI " << median
              << " dB, player vs LibreOffice " << medianOf(againstLibreOffice)
              << " dB, LibreOffice vs GDI " << medianOf(referencesAgree) << " dB\n"
              << "references more than 6 dB apart on the player (GDI / LibreOffice; look):"
              << disagreeing.str() << "\nmost work: " << mostWork.second << ' ' << mostWork.first
              << " units, " << 100 * mostWork.first / DrawBudget::Limits{}.work
              << " % of the budget\n";
    EXPECT_GE(median, baselineMedian - 0.01) << "the median against GDI fell";
    if (const char* out = std::getenv("VIMBREL_WRITE_PSNR_BASELINE")) {
        std::ofstream(out) << "# picture\tPSNR in dB after a blur of sigma 1: against GDI (Wine), "
                              "against LibreOffice\n"
                           << "# median against GDI " << std::setprecision(4) << median << '\n'
                           << table.str();
    }
}

} // namespace
} // namespace vimbrel
