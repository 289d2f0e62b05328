#include "export/ladder_analysis.hpp"
