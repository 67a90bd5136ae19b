// Compiled as a harvest source: the include of a layer below is found, the
// include of a layer above is not.
#include "common/QuorvelError.h"

#include "app/QuorvelCore.h"
