// The window as a user sees it, drawn offscreen in one pinned font and
// compared pixel by pixel with committed pictures. A mismatch leaves the
// picture drawn and a difference picture in the build folder.
// scripts/update-reference-pictures redraws the references on purpose.
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <cstdlib>
#include <functional>

#include "support/window_fixture.h"

namespace ambrelux::testing {
namespace {

// Before main creates the application: Qt then sees DejaVu Sans alone, and
// the offscreen platform with its own style whatever the caller's settings.
const bool kRenderingPinned = [] {
  setenv("FONTCONFIG_FILE", AMBRELUX_PINNED_FONTS, 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  for (const char* name : {"QT_STYLE_OVERRIDE", "QT_QPA_PLATFORMTHEME", "QT_SCALE_FACTOR", "QT_FONT_DPI"})
    unsetenv(name);
  return true;
}();

// Anti-aliased edges may drift by a shade; a changed glyph or picture
// changes pixels far more.
constexpr int kChannelTolerance = 24;

bool alike(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= kChannelTolerance &&
         std::abs(qGreen(a) - qGreen(b)) <= kChannelTolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= kChannelTolerance;
}

// The reference faded, with every pixel that differs in red.
QImage differences(const QImage& actual, const QImage& reference, int& count) {
  const QSize size = actual.size().expandedTo(reference.size());
  QImage diff(size, QImage::Format_RGB32);
  count = 0;
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x) {
      const bool inBoth = actual.rect().contains(x, y) && reference.rect().contains(x, y);
      if (inBoth && alike(actual.pixel(x, y), reference.pixel(x, y))) {
        const int grey = 192 + qGray(reference.pixel(x, y)) / 4;
        diff.setPixel(x, y, qRgb(grey, grey, grey));
      } else {
        ++count;
        diff.setPixel(x, y, qRgb(255, 0, 0));
      }
    }
  return diff;
}

struct Scene {
  const char* test;
  const char* name;  // the reference picture's file name
  std::function<void(FakePlatform&)> afterOpening;
};

void PrintTo(const Scene& scene, std::ostream* out) { *out << scene.name; }

class ReferencePicture : public WindowTest, public ::testing::WithParamInterface<Scene> {};

TEST_P(ReferencePicture, WindowLooksAsItsReference) {
  for (const QString& family : QFontDatabase::families())
    ASSERT_EQ(QFontInfo(QFont(family)).family(), "DejaVu Sans")
        << family.toStdString() << ": the picture needs DejaVu Sans alone; install fonts-dejavu-core ("
        << AMBRELUX_PINNED_FONTS << ")";
  fake.setOutput(kSmartListing, readTestData("ioreg/smart-battery.txt"));
  window();
  GetParam().afterOpening(fake);
  const QImage actual = window().grab().toImage().convertToFormat(QImage::Format_RGB32);

  const QString name = QString::fromUtf8(GetParam().name) + ".png";
  const QString referencePath = QStringLiteral(AMBRELUX_TEST_DATA "/reference/") + name;
  if (qEnvironmentVariableIsSet("AMBRELUX_UPDATE_REFERENCE_PICTURES")) {
    ASSERT_TRUE(actual.save(referencePath));
    GTEST_SKIP() << "wrote " << referencePath.toStdString();
  }
  const QImage reference(referencePath);
  ASSERT_FALSE(reference.isNull()) << "no picture at " << referencePath.toStdString()
                                   << "; scripts/update-reference-pictures draws it";
  int count = 0;
  const QImage diff = differences(actual, reference.convertToFormat(QImage::Format_RGB32), count);
  if (count == 0) return;
  const QDir out(QStringLiteral(AMBRELUX_PICTURE_OUTPUT));
  out.mkpath(QStringLiteral("."));
  const QString actualPath = out.filePath(QString::fromUtf8(GetParam().name) + "-actual.png");
  const QString diffPath = out.filePath(QString::fromUtf8(GetParam().name) + "-difference.png");
  actual.save(actualPath);
  diff.save(diffPath);
  ADD_FAILURE() << count << " pixels differ from " << referencePath.toStdString()
                << "\n  drawn:      " << actualPath.toStdString()
                << "\n  difference: " << diffPath.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Window, ReferencePicture,
                         ::testing::Values(Scene{"SmartBattery", "smart-battery", [](FakePlatform&) {}},
                                           Scene{"ClearedByAFailedRefresh", "cleared",
                                                 [](FakePlatform& fake) {
                                                   fake.setOutput(kSmartListing, "");
                                                   statusWindow::instance()->updateStatus();
                                                 }}),
                         [](const ::testing::TestParamInfo<Scene>& scene) {
                           return std::string(scene.param.test);
                         });

}  // namespace
}  // namespace ambrelux::testing
