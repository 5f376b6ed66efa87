// Circles and arcs in user units, sampled through the running point into the point buffer
// and drawn as one polyline with the current line attributes.
#pragma once

namespace korbast::plot {

// The arc about (xc, yc) of radius r from angle a1 to a2 (radians from the user x axis
// towards the user y axis; clockwise when a2 < a1), with npfull points for a full turn.
void usacircle(float xc, float yc, float r, float a1, float a2, int npfull);
// The full circle about (xc, yc) of radius r with npfull points (the first and last coincide).
void uscircle(float xc, float yc, float r, int npfull);

}  // namespace korbast::plot
