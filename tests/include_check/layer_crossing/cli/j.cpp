#include "r.h"
