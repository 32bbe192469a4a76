#include "y.h"
