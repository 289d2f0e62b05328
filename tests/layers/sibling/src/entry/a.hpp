// Entry wrongly reaching sideways into the reports, a layer of the same rank.
#pragma once

#include "report/b.hpp"
