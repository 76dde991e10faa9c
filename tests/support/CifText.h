#pragma once

#include <cstdio>
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
      char fraction[16];
      std::snprintf(fraction, sizeof fraction, "+%d/%d", op.t[i] / divisor, 24 / divisor);
      text += fraction;
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

// Diamond silicon in origin choice 2 (Si on 8a at 1/8 1/8 1/8), with or without its operations.
inline std::string DiamondCif(bool withOperations) {
  std::string text =
      "data_Si\n_space_group_IT_number 227\n_symmetry_space_group_name_H-M 'F d -3 m'\n"
      "_cell_length_a 5.4307(2)\n_cell_length_b 5.4307(2)\n_cell_length_c 5.4307(2)\n"
      "_cell_angle_alpha 90\n_cell_angle_beta 90\n_cell_angle_gamma 90\n";
  if (withOperations) {
    std::vector<std::string> triplets;
    for (const IntOperation& op : FdThreeMOriginTwo()) triplets.push_back(CifTriplet(op));
    text += SymopLoop(triplets);
  }
  return text +
         "loop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n"
         "_atom_site_fract_z\n_atom_site_U_iso_or_equiv\nSi1 1/8 1/8 1/8 0.0058(3)\n";
}

}  // namespace braxel::testing
