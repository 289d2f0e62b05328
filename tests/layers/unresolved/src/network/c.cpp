// Names a project header that does not exist.
#include "network/missing.hpp"
