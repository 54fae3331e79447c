// The window's geometry as the world sees it: the screen, the two HUD strips and the view of the
// world between them, and the radar's scale.
#pragma once

constexpr int SCREEN_WIDTH = 1280;
constexpr int SCREEN_HEIGHT = 720;
constexpr int HUD_HEIGHT = 40;                               // each HUD strip, pixels
constexpr int VIEW_WIDTH = SCREEN_WIDTH;                     // the window on the world that the player sees,
constexpr int VIEW_HEIGHT = SCREEN_HEIGHT - 2 * HUD_HEIGHT;  // between the two strips
constexpr int RADAR_CELL_SIZE = 9;                           // radar pixels per maze cell
