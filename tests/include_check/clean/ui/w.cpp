#include "w.h"

#include <vector>

#include "e.h"
#include "missing.h"
