// genassets GAME_DIR: writes every picture of the game into GAME_DIR/_bmp and
// every sound into GAME_DIR/_sample, and the desktop icon at every size into GAME_DIR/icons,
// laid out as the hicolor theme is (icons/64x64/apps/ghostmaze.png).
#define ALLEGRO_NO_MAGIC_MAIN
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "frontend_art.h"
#include "icon.h"
#include "items.h"
#include "sounds.h"
#include "sprites.h"
#include "terrain.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: genassets GAME_DIR\n");
    return 2;
  }
  try {
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
      std::fprintf(stderr, "genassets: cannot start Allegro: %s\n", allegro_error);
      return 1;
    }
    set_color_depth(32);
    const std::filesystem::path game_dir(argv[1]);
    const std::string bmp_dir = (game_dir / "_bmp").string();
    const std::string sample_dir = (game_dir / "_sample").string();
    std::filesystem::create_directories(bmp_dir);
    std::filesystem::create_directories(sample_dir);

    art::write_sprites(bmp_dir);
    art::write_terrain(bmp_dir);
    art::write_items(bmp_dir);
    art::write_frontend_art(bmp_dir);
    sound::write_music(sample_dir);
    sound::write_effects(sample_dir);
    art::write_icons((game_dir / "icons").string());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "genassets: %s\n", e.what());
    return 1;
  }
  return 0;
}
