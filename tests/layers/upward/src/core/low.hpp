// A ground-floor header that wrongly reaches up to the application.
#pragma once

#include "app/high.hpp"
