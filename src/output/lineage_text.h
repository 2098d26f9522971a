// A lineage as one line for a person, as the history's tooltip shows it: "mutated from
// T20261209101500 (seed 12.5, strength 0.25)". A pure function; any thread; never fails.
#pragma once

#include "state/lineage.h"

#include <QString>

namespace mandalix {

QString lineageText(const Lineage& lineage);

} // namespace mandalix
