// The window's size at start-up, full screen on request, presenting a finished picture at the
// screen's scale, and the notices shown over it.
#include "shell/screen_mode.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "shell/desktop_window.h"
#include "shell/window_events.h"

ScreenMode screenMode;

namespace {
constexpr int NOTICE_TEXT_SCALE = 2;  // the built-in font twice its size
constexpr int NOTICE_PADDING = 8;     // pixels round the text, at the picture's scale
constexpr int NOTICE_TOP = 60;        // the notice's top edge, just below the top strip
constexpr int SWITCH_SETTLE_MS = 100; // the window system's news of a new screen arrives within this

// The screen picture's rows where it can share the screen's: a linear 32-bit screen showing
// the picture at a scale of one.
bool screenTakesPicture()
{
    const FramePlacement& placement = screenMode.placement;
    return screen && is_linear_bitmap(screen) && bitmap_color_depth(screen) == 32 && SCREEN_W == SCREEN_WIDTH &&
           SCREEN_H == SCREEN_HEIGHT && placement.wholeFactor == 1 && placement.left == 0 && placement.top == 0;
}

// The screen picture's rows moved to the given rows (its own, or the screen's), its pixels with them.
void moveScreenPicture(unsigned char* const* rows)
{
    BITMAP* picture = screenMode.picture;
    const std::size_t rowBytes = static_cast<std::size_t>(SCREEN_WIDTH) * sizeof(std::uint32_t);
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        std::memcpy(rows[y], picture->line[y], rowBytes);
        picture->line[y] = rows[y];
    }
    ++screenMode.generation;
}

// The rows the screen picture was made with, kept while it lends them out for the screen's.
std::vector<unsigned char*> ownRows;

// Before the screen closes, the picture takes its pixels back into its own rows; after it
// opens, it lends them out again where the new screen takes it.
void takeScreenPictureBack()
{
    if (!screenMode.onScreen) return;
    moveScreenPicture(ownRows.data());
    screenMode.onScreen = false;
}

void putScreenPictureOnScreen()
{
    if (!screenMode.picture || screenMode.onScreen || !screenTakesPicture()) return;
    moveScreenPicture(screen->line);
    screenMode.onScreen = true;
}

bool openScreen(int width, int height)
{
    takeScreenPictureBack();
    return set_gfx_mode(GFX_AUTODETECT_WINDOWED, width, height, 0, 0) == 0;
}

// The screen at a new size: the library opens it anew, black, in the same window. The pointer,
// the close button and the focus callback are set again, and the last picture shown again.
bool resizeScreen(int width, int height)
{
    const bool pointerShown = _mouse_screen != nullptr;
    const int oldWidth = SCREEN_W, oldHeight = SCREEN_H;
    if (!openScreen(width, height) && !openScreen(oldWidth, oldHeight)) return false;
    screenMode.placement = placeFrame(SCREEN_W, SCREEN_H);
    putScreenPictureOnScreen();
    // The new screen's window events (a passing loss of focus among them) are the switch's own,
    // not the player's: a game must not pause for them.
    rest(SWITCH_SETTLE_MS);
    watchWindowEvents();
    takeFocusLoss();
    if (pointerShown) showPointer();
    if (screenMode.lastPicture) presentPicture(screenMode.lastPicture);
    return SCREEN_W == width && SCREEN_H == height;
}

bool noticeShowing()
{
    if (!screenMode.notice) return false;
    if (std::chrono::steady_clock::now() < screenMode.noticeEnd) return true;
    destroy_bitmap(screenMode.notice);
    screenMode.notice = nullptr;
    return false;
}

// Copies or scales the picture (or part) onto the screen as the placement says.
void putOnScreen(BITMAP* picture, int x, int y)
{
    // Where the screen's rows are the screen picture's, this draws over a frame.
    if (screenMode.onScreen) ++screenMode.writes;
    FramePlacement& placement = screenMode.placement;
    if (placement.wholeFactor == 1 && placement.left == 0 && placement.top == 0) {
        blit(picture, screen, 0, 0, x, y, picture->w, picture->h);
        return;
    }
    // The game's loops write the screen's memory straight, one line after another.
    if (is_linear_bitmap(screen) && bitmap_color_depth(screen) == 32 && bitmap_color_depth(picture) == 32) {
        presentInto(picture, screen, placement, x, y);
        const ScreenArea area = screenAreaOf(placement, x, y, picture->w, picture->h);
        showScreenArea(area.x, area.y, area.width, area.height);
        return;
    }
    // A screen of another kind: the library's own nearest-pixel stretch.
    const ScreenArea area = screenAreaOf(placement, x, y, picture->w, picture->h);
    stretch_blit(picture, screen, 0, 0, picture->w, picture->h, area.x, area.y, area.width, area.height);
}
}  // namespace

bool openGameWindow()
{
    int width = 0, height = 0;
    screenMode.windowFactor = desktopArea(width, height) ? windowScaleFor(width, height) : 1;
    const int k = screenMode.windowFactor;
    if (!openScreen(SCREEN_WIDTH * k, SCREEN_HEIGHT * k)) {
        screenMode.windowFactor = 1;
        if (k == 1 || !openScreen(SCREEN_WIDTH, SCREEN_HEIGHT)) return false;
    }
    screenMode.placement = placeFrame(SCREEN_W, SCREEN_H);
    putScreenPictureOnScreen();
    return true;
}

bool setFullScreen(bool on)
{
    if (!screen) return false;
    if (on == screenMode.fullScreen) return true;
    int width = 0, height = 0;
    const bool granted = askFullScreen(on, width, height);
    if (on && !granted) {
        showNotice(FULL_SCREEN_REFUSED);
        if (screenMode.lastPicture) presentPicture(screenMode.lastPicture);
        return false;
    }
    // Leaving, the window takes its own size again whatever the desktop answered.
    if (!on) {
        width = SCREEN_WIDTH * screenMode.windowFactor;
        height = SCREEN_HEIGHT * screenMode.windowFactor;
    }
    screenMode.fullScreen = on;
    if (resizeScreen(width, height) || !on) return true;
    // Granted, but no screen of that size opens: the window goes back to what it was.
    askFullScreen(false, width, height);
    screenMode.fullScreen = false;
    resizeScreen(SCREEN_WIDTH * screenMode.windowFactor, SCREEN_HEIGHT * screenMode.windowFactor);
    showNotice(FULL_SCREEN_REFUSED);
    return false;
}

void showNotice(const char* text)
{
    if (screenMode.notice) destroy_bitmap(screenMode.notice);
    const int textWidth = text_length(font, text), textHeight = text_height(font);
    BITMAP* words = create_bitmap(textWidth, textHeight);
    BITMAP* notice = create_bitmap(textWidth * NOTICE_TEXT_SCALE + 2 * NOTICE_PADDING,
                                   textHeight * NOTICE_TEXT_SCALE + 2 * NOTICE_PADDING);
    if (!words || !notice) {
        if (words) destroy_bitmap(words);
        if (notice) destroy_bitmap(notice);
        screenMode.notice = nullptr;
        return;
    }
    clear_to_color(words, makecol(40, 40, 40));
    textout_ex(words, font, text, 0, 0, makecol(255, 255, 0), -1);
    clear_to_color(notice, makecol(40, 40, 40));
    stretch_blit(words, notice, 0, 0, textWidth, textHeight, NOTICE_PADDING, NOTICE_PADDING,
                 textWidth * NOTICE_TEXT_SCALE, textHeight * NOTICE_TEXT_SCALE);
    rect(notice, 0, 0, notice->w - 1, notice->h - 1, makecol(255, 255, 0));
    destroy_bitmap(words);
    screenMode.notice = notice;
    screenMode.noticeEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(NOTICE_MS);
}

void forgetScreenPictures()
{
    screenMode.lastPicture = nullptr;
    if (screenMode.notice) destroy_bitmap(screenMode.notice);
    screenMode.notice = nullptr;
}

void presentPicture(BITMAP* picture, int x, int y)
{
    if (!screen || !picture) return;
    const bool whole = x == 0 && y == 0 && picture->w == SCREEN_WIDTH && picture->h == SCREEN_HEIGHT;
    if (whole) screenMode.lastPicture = picture;
    if (whole && picture == screenMode.picture && screenMode.onScreen)
        showScreenArea(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);  // drawn where it is shown already
    else
        putOnScreen(picture, x, y);
    // The notice is laid over each whole picture while it lasts, never into the picture itself;
    // a picture drawn in the screen's memory carries it only until its next frame is drawn there.
    if (whole && noticeShowing())
        putOnScreen(screenMode.notice, (SCREEN_WIDTH - screenMode.notice->w) / 2, NOTICE_TOP);
}

BITMAP* screenPicture()
{
    if (!screen) return screenMode.picture;
    if (!screenMode.picture) {
        screenMode.picture = create_bitmap_ex(32, SCREEN_WIDTH, SCREEN_HEIGHT);
        if (!screenMode.picture) return nullptr;
        clear_to_color(screenMode.picture, makecol32(0, 0, 0));
        ownRows.assign(screenMode.picture->line, screenMode.picture->line + SCREEN_HEIGHT);
        ++screenMode.generation;
    }
    putScreenPictureOnScreen();
    return screenMode.picture;
}

void releaseScreenPicture()
{
    if (!screenMode.picture || ownRows.empty()) return;
    // Its own rows back before it goes, which is all it frees.
    for (int y = 0; y < SCREEN_HEIGHT; ++y) screenMode.picture->line[y] = ownRows[static_cast<std::size_t>(y)];
    destroy_bitmap(screenMode.picture);
    screenMode.picture = nullptr;
    screenMode.onScreen = false;
    ownRows.clear();
    ++screenMode.generation;
}

void showPointer()
{
    if (!screen) return;
    // The window system's own pointer where it can draw it: the library's would be drawn into
    // the screen at its scale of one, and in the way of every picture the game's loops write.
    enable_hardware_cursor();
    show_mouse(screen);
}

void clearScreen()
{
    if (!screen) return;
    if (screenMode.onScreen) ++screenMode.writes;
    clear_to_color(screen, makecol(0, 0, 0));
}

FramePoint screenPointOnPicture(int x, int y) { return framePointOf(screenMode.placement, x, y); }

FramePoint mouseOnPicture() { return screenPointOnPicture(mouse_x, mouse_y); }
