// A report header.
#pragma once
