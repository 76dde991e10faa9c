// braxel-pattern: shows a pattern file with its reflection markers, or writes it as a PNG.
#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "pattern/PatternFile.h"
#include "pattern/PlotAxes.h"
#include "pattern/qt/PatternPlot.h"
#include "pattern/qt/PatternWindow.h"
#include "pattern/qt/PngFile.h"

namespace {

constexpr const char* kUsage =
    "usage: braxel-pattern [-x FILE.prf [--png OUT.png [--size WIDTHxHEIGHT]]]\n"
    "\n"
    "Shows the powder pattern of FILE.prf (written by Braxel's Calculate Profile or by\n"
    "braxel-calc) with its reflection markers. Drag across the plot to zoom into a 2theta\n"
    "range; a double-click or a right-click shows the whole range again.\n"
    "With --png the whole pattern is written to OUT.png (1200x700 pixels unless --size\n"
    "says otherwise) and no window opens. Exit status 0 on success, 1 on any failure.\n";

struct Options {
  std::optional<std::string> patternPath;
  std::optional<std::string> pngPath;
  int width = 1200;
  int height = 700;
};

bool ParseSize(const char* text, Options& options) {
  int width = 0;
  int height = 0;
  char end = 0;
  if (std::sscanf(text, "%dx%d%c", &width, &height, &end) != 2) return false;
  if (width < 200 || height < 150 || width > 10000 || height > 10000) return false;
  options.width = width;
  options.height = height;
  return true;
}

std::optional<Options> ParseArguments(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "-x" && hasValue) {
      options.patternPath = argv[++i];
    } else if (argument == "--png" && hasValue) {
      options.pngPath = argv[++i];
    } else if (argument == "--size" && hasValue) {
      if (!ParseSize(argv[++i], options)) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (options.pngPath && !options.patternPath) return std::nullopt;
  return options;
}

int WritePng(const Options& options) {
  braxel::Pattern pattern;
  std::string message;
  if (!braxel::ReadPatternFile(*options.patternPath, pattern, message)) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
  }
  const QString title = QFileInfo(QString::fromStdString(*options.patternPath)).fileName();
  const QImage image = braxel::qt::RenderPattern(pattern, braxel::FullTwoThetaRange(pattern), title,
                                                 QSize(options.width, options.height));
  if (!braxel::qt::SavePng(image, QString::fromStdString(*options.pngPath))) {
    std::fprintf(stderr, "%s file not create !!!\n", options.pngPath->c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  const std::optional<Options> options = ParseArguments(argc, argv);
  if (!options) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  // A picture needs no display: scripts and tests run where there is none.
  if (options->pngPath && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  if (options->pngPath) return WritePng(*options);

  braxel::qt::PatternWindow window;
  window.resize(960, 620);
  window.show();
  if (options->patternPath) window.OpenFile(QString::fromStdString(*options->patternPath));
  return application.exec();
}
