#include "m.h"
#include "w.h"
