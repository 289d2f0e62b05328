#include "entry/load_decrement_entry.hpp"

namespace bandmatch {

EntryStatus enterLoadDecrement(std::istream&, std::ostream&, DesignCase&) {
  return EntryStatus::complete;
}

}  // namespace bandmatch
