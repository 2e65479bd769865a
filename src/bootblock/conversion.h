#pragma once

#include "bootblock/boot_block.h"

// Rescales the parameter block in place from its own sector size to the one
// of targetSizeCode, so that every area of the volume keeps its byte offset
// and length. Ends the run by throwing 0 when the sizes already match (after
// the no-change message), 3 when the volume's size is unsupported, and 2
// when the volume cannot be converted; in those cases the block is
// unchanged.
void convertSectorSize(BootBlock& block, SectorSizeCode targetSizeCode);

// Writes the changed-parameters report and the success line to standard
// output.
void printChangedReport(const BootBlock& block);
