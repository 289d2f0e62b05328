// Names a project header that does not exist.
#include "rf/missing.hpp"
