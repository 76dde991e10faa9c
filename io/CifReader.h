#pragma once

#include <string>
#include <string_view>

#include "io/ImportContext.h"

namespace braxel {

// Reads a CIF file as CIF: its data block with atom sites (the user picks one when several have
// them), the cell, the atom sites with their species, occupancies and displacements, and what
// the block states of its space group, which SettleSpaceGroup turns into the table's group and
// setting. The axis conversion is offered afterwards. False after a shown message; the record is
// then as it was.
bool ReadCifFile(const std::string& path, ImportContext& context);

// The scattering species of an atom site: from its type symbol when it has one (Fe3+, O-2 and
// Si+4 are Fe3+, O2- and Si4+; an element without a charge, or with one that is not a whole
// number, is the neutral atom), else from the label, whose longest leading element symbol in any
// case is the element (CL1 is Cl, FeM1 is Fe); water labels (Wat, OW) are oxygen. The text itself
// when it begins with no element symbol.
std::string ScatteringSpecies(std::string_view typeSymbol, std::string_view label);

}  // namespace braxel
