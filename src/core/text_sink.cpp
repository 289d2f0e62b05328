#include "core/text_sink.hpp"

namespace bandmatch {

void writeLine(std::ostream& out, std::string_view text) {
  out << text << '\n';
}

void writeText(std::ostream& out, std::string_view text) {
  out << text;
}

}  // namespace bandmatch
