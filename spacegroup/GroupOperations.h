#pragma once

#include <gemmi/symmetry.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "spacegroup/SpaceGroupRecord.h"

namespace braxel {

// The operations of a table record as a run expands them: its codes, their inverses when the
// record is centrosymmetric and does not list the inversion, and the lattice centring of its
// general reflection condition. Nothing when a code is not a symmetry operation.
std::optional<gemmi::GroupOps> RecordOperations(const SpaceGroupRecord& record);

// The setting of group sgNumber whose table record has exactly these operations; nothing when no
// setting has them or the table cannot be read.
std::optional<int> FindTableSetting(const std::string& tabsgPath, int sgNumber,
                                    const gemmi::GroupOps& operations);

// The symbol without what files wrap around it: quotes, blanks at either end, and the subscript
// marks of P2~1~/n, P2_1/n and P2(1)/n.
std::string WithoutSymbolMarkup(std::string_view symbol);

// The tabulated setting a Hermann-Mauguin symbol names, spelt as files spell it: with or without
// blanks and subscript marks, with a setting suffix :1, :2, :H, :R or a last word S, Z, H, R
// (origin choice 1, 2, the axes), in the old cubic spelling without the bar (F d 3 m, Pm3m: the
// old tables' origin at the centre, origin choice 2), in a centred triclinic cell (A -1, C -1).
// A rhombohedral group without suffix takes rhombohedral axes when the cell angles alpha and
// gamma are those of such axes. Nothing for any other text.
const gemmi::SpaceGroup* SpaceGroupOfSymbol(std::string_view symbol, double alpha = 0.0,
                                            double gamma = 0.0);

// The operations the symbol names: those of SpaceGroupOfSymbol, or for a centred lattice the
// tables do not combine with the rest of the symbol (B 1 21 1), those of the primitive symbol
// with the lattice's centring. Nothing for any other text.
std::optional<gemmi::GroupOps> OperationsOfSymbol(std::string_view symbol, double alpha = 0.0,
                                                  double gamma = 0.0);

// True when the symbol names the setting of the operations: the one OperationsOfSymbol reads, or,
// for a symbol without a suffix, another origin choice or the other axes that the same symbol
// stands for (F d -3 m is origin choice 1 or 2).
bool SymbolNamesOperations(std::string_view symbol, const gemmi::GroupOps& operations,
                           double alpha = 0.0, double gamma = 0.0);

}  // namespace braxel
