#include "m.h"
