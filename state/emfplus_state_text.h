// The EMF+ section of the state text and the lines of what looks wrong in the EMF+ state.
#pragma once

#include "state/emfplus_state.h"
#include "state/state_lines.h"

// The "EMF+" section: transforms, clip, rendering modes, object table, stack and GetDC span.
void EmfPlusSection(StateLineMaker& l, const EmfPlusState& s);
// The EMF+ lines of the Diagnostics section.
void EmfPlusDiagnostics(StateLineMaker& l, const EmfPlusState& s);
