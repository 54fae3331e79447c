// The colours that carry meaning for the rules as well as for the eye.
#pragma once

#include <allegro.h>

// The transparent colour of every picture and layer: masked drawing skips it, and in the
// collision pictures it is free floor.
inline int seeThrough() { return makecol(255, 0, 255); }

// A blocked cell of the ghosts' collision picture.
inline int ghostMapGreen() { return makecol(0, 255, 0); }

// The beam's pixels: the beam's hit test looks for exactly this colour.
inline int beamHitColour() { return makecol(255, 255, 254); }
