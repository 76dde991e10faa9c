#pragma once

namespace braxel {

struct Cell {
  double a = 0.0;
  double b = 0.0;
  double c = 0.0;
  double alpha = 0.0;  // degrees
  double beta = 0.0;
  double gamma = 0.0;
};

}  // namespace braxel
