#include "r.h"
#include "c.h"
#include "m.h"
