// braxel: the desktop window.
#include "app/qt/BraxelApp.h"

int main(int argc, char** argv) {
  braxel::CBraxelApp app(argc, argv);
  return app.Run(BRAXEL_DATA_DIR);
}
