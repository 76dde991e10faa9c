#pragma once

#include <numeric>
#include <set>
#include <string>
#include <vector>

namespace braxel::testing {

// A symmetry operation with translations in 24ths, for building whole groups from generators.
struct IntOperation {
  int R[3][3];
  int t[3];
  auto operator<=>(const IntOperation&) const = default;
};

inline IntOperation Compose(const IntOperation& p, const IntOperation& q) {
  IntOperation r{};
  for (int i = 0; i < 3; ++i) {
    int t = p.t[i];
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 3; ++k) r.R[i][j] += p.R[i][k] * q.R[k][j];
      t += p.R[i][j] * q.t[j];
    }
    r.t[i] = ((t % 24) + 24) % 24;
  }
  return r;
}

// Every product of the generators.
inline std::vector<IntOperation> Closure(const std::vector<IntOperation>& generators) {
  std::set<IntOperation> group{{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 0, 0}}};
  std::vector<IntOperation> frontier(group.begin(), group.end());
  while (!frontier.empty()) {
    std::vector<IntOperation> next;
    for (const IntOperation& a : frontier) {
      for (const IntOperation& g : generators) {
        const IntOperation c = Compose(a, g);
        if (group.insert(c).second) next.push_back(c);
      }
    }
    frontier = next;
  }
  return {group.begin(), group.end()};
}

// As a CIF writes it: 'y+3/4, x+1/4, -z+1/2'.
inline std::string CifTriplet(const IntOperation& op) {
  std::string text = "'";
  for (int i = 0; i < 3; ++i) {
    if (i > 0) text += ", ";
    bool first = true;
    for (int j = 0; j < 3; ++j) {
      if (op.R[i][j] == 0) continue;
      text += op.R[i][j] < 0 ? "-" : (first ? "" : "+");
      text += "xyz"[j];
      first = false;
    }
    if (op.t[i] != 0) {
      const int divisor = std::gcd(op.t[i], 24);
      text += "+" + std::to_string(op.t[i] / divisor) + "/" + std::to_string(24 / divisor);
    }
  }
  return text + "'";
}

// Fd-3m in origin choice 2 (inversion at the origin), as International Tables generate it.
inline std::vector<IntOperation> FdThreeMOriginTwo() {
  return Closure({{{{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}, {18, 6, 12}},
                  {{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}, {6, 12, 18}},
                  {{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}, {0, 0, 0}},
                  {{{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {18, 6, 12}},
                  {{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}, {0, 0, 0}},
                  {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 12, 12}},
                  {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {12, 0, 12}}});
}

// A symmetry loop of the current dictionary: numbered operations.
inline std::string SymopLoop(const std::vector<std::string>& triplets) {
  std::string text = "loop_\n_space_group_symop_id\n_space_group_symop_operation_xyz\n";
  for (std::size_t i = 0; i < triplets.size(); ++i) {
    text += std::to_string(i + 1) + " " + triplets[i] + "\n";
  }
  return text;
}

}  // namespace braxel::testing
