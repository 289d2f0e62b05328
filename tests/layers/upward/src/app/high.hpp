// The top of the tree.
#pragma once
