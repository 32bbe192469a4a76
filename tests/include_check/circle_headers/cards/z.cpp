#include "x.h"
