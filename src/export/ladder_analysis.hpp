// AC analysis of a designed ladder network: the input reflection seen from the source.
#pragma once

namespace bandmatch {

}  // namespace bandmatch
