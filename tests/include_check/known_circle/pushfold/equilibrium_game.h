#include "equilibrium.h"
