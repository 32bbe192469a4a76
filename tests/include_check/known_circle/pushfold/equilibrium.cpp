#include "equilibrium.h"
#include "equilibrium_game.h"
