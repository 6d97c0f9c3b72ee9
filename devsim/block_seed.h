// Plausible contents of every configuration block for a product and firmware, so that a fresh
// simulated device has real settings to show.
#pragma once

#include <cstdint>
#include <string_view>

#include "devsim/config_blocks.h"

namespace devsim {

// Fills every block not set explicitly (by a blocks file or a block.NAME setting) with the
// settings a device of this product and firmware would hold; INF bytes 20-23 get the mask.
void SeedBlocks(BlockStore& blocks, std::string_view product_id, std::string_view firmware,
                uint32_t capability_mask);

// Whether a device of this product and firmware keeps its PPPoE texts in the older layout
// (user at 36, password at 52, 16 bytes each) rather than the newer (4 and 36, 32 bytes each).
bool OlderPppoeLayout(std::string_view product_id, std::string_view firmware);

}  // namespace devsim
