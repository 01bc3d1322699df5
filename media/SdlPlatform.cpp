#include "media/SdlPlatform.h"

#include "media/Font.h"

#include "media/Keyboard.h"
#include "media/MediaLimits.h"
#include "media/SdlKeyMap.h"
#include "media/SdlShared.h"
#include "media/Canvas.h"
#include "media/Presentation.h"
#include "media/RegularFile.h"
#include "media/Surface.h"
#include "media/Warn.h"

#include <SDL.h>
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace zorbo {

namespace {

// The size a game started in full screen takes when it first becomes a window.
constexpr int StartedFullWidth = 640;
constexpr int StartedFullHeight = 480;

// The largest screen's size: no window needs to be larger to show the whole picture.
WindowSize LargestScreen()
{
    WindowSize largest{PictureWidth, PictureHeight};
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(i, &bounds) == 0)
            largest = {std::max(largest.w, bounds.w), std::max(largest.h, bounds.h)};
    }
    return largest;
}

} // namespace

std::string NoDisplayReason()
{
    // A video driver named by the user (the tests' "dummy", say) is taken as asked.
    if (EnvironmentSet("SDL_VIDEODRIVER"))
        return {};
    if (!EnvironmentSet("DISPLAY") && !EnvironmentSet("WAYLAND_DISPLAY"))
        return "no display: neither DISPLAY nor WAYLAND_DISPLAY is set, and the game needs a desktop";
    return {};
}

SdlPlatform::SdlPlatform(std::string iconFile, std::string programDir)
    : iconFile_(std::move(iconFile)), sound_(std::move(programDir))
{
    if (const std::string reason = NoDisplayReason(); !reason.empty())
        throw std::runtime_error(reason);
    // The heads-up face is looked up while the display starts.
    MatchFontFileAhead(HudFontFamily, true, false);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    // SDL would keep the screen saver off from the first window on; the game keeps it off
    // only while it is played (KeepScreenAwake).
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0)
        throw std::runtime_error(std::string("cannot start the display: ") + SDL_GetError());
    // When the desktop cannot be reached SDL falls back to a driver that shows nothing;
    // the game would then run unseen.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!EnvironmentSet("SDL_VIDEODRIVER") && driver != nullptr &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        SDL_Quit();
        std::string named;
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
            if (EnvironmentSet(name))
                named += std::string(named.empty() ? "" : " or ") + name + "=" + std::getenv(name);
        throw std::runtime_error("no display: the desktop " + named + " cannot be reached");
    }
    pads_ = std::make_unique<Gamepads>();
}

SdlPlatform::~SdlPlatform()
{
    sound_.Close();
    StopDisplay();
    pads_.reset();
    sound_.FinishClosing();
    SDL_Quit();
}

uint32_t SdlPlatform::GetTickCount()
{
    return SDL_GetTicks();
}

uint64_t SdlPlatform::ClockSeed()
{
    return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

void SdlPlatform::OpenWindow(ScreenMode mode)
{
    mode_ = mode;
    SDL_Rect desktop{0, 0, 640, 480};
    SDL_GetDisplayBounds(0, &desktop);
    // A window the player may resize; the picture keeps a whole scale inside it.
    Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE;
    startedFullScreen_ = mode == ScreenMode::FullScreen;
    modeSwitch_ = ModeSwitch(startedFullScreen_);
    int w = PictureWidth, h = PictureHeight, x = 0, y = 0;
    if (mode == ScreenMode::FullScreen) {
        // A desktop-sized full-screen window: the desktop's own mode is never changed.
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
        w = desktop.w;
        h = desktop.h;
        x = desktop.x;
        y = desktop.y;
    } else {
        if (mode == ScreenMode::Window640) {
            w = 640;
            h = 480;
        }
        const WindowPlace place = CentredLifted(desktop.w, desktop.h, w, h);
        x = desktop.x + place.x;
        y = desktop.y + place.y;
    }
    window_ = SDL_CreateWindow("Zorbo", x, y, w, h, flags);
    if (window_ == nullptr)
        throw std::runtime_error(std::string("cannot open the game window: ") + SDL_GetError());
    KeepSizeHints();
    if (!iconFile_.empty()) {
        // An unreadable icon only leaves the window without one.
        std::string bytes, error;
        SDL_RWops* rw = OpenMediaFile(iconFile_, bytes, error);
        if (rw != nullptr && !BitmapSizeProblem(bytes).empty()) {
            SDL_RWclose(rw);
            rw = nullptr;
        }
        if (SDL_Surface* icon = rw != nullptr ? SDL_LoadBMP_RW(rw, 1) : nullptr) {
            SDL_SetColorKey(icon, SDL_TRUE, SDL_MapRGB(icon->format, 0, 0, 0));
            SDL_SetWindowIcon(window_, icon);
            SDL_FreeSurface(icon);
        }
    }
}

void SdlPlatform::HideWindow()
{
    if (window_ != nullptr)
        SDL_HideWindow(window_);
    hidden_ = true;
    KeepScreenAwake();
}

// A pad player never touches the keyboard, so the screen saver would start in the middle
// of a game: it is held off while a game is played, and let go in a pause and at the end.
void SdlPlatform::KeepScreenAwake()
{
    if (renderer_ != nullptr && !hidden_ && !paused_)
        SDL_DisableScreenSaver();
    else
        SDL_EnableScreenSaver();
}

void SdlPlatform::ShowCursor(bool visible)
{
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void SdlPlatform::Handle(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_QUIT:
        closeRequested_ = true;
        break;
    case SDL_KEYDOWN:
        // Remember every key that went down, so a tap that is released before the next
        // poll still counts as held at that poll. Keys pressed during a pause are not the
        // game's.
        if (e.key.repeat == 0 && !HandleControlKey(e.key) && !paused_) {
            const int code = GameScanCode(e.key.keysym.scancode);
            if (code != 0)
                tapped_[static_cast<size_t>(code)] = 0x80;
        }
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        if (e.cbutton.button == SDL_CONTROLLER_BUTTON_START)
            SetPaused(!paused_);
        else if (e.cbutton.button == SDL_CONTROLLER_BUTTON_BACK && paused_)
            QuitFromPause(); // in a pause a press is enough: nothing else is at stake
        else if (!paused_ && pads_)
            pads_->Handle(e, question_, tapped_);
        break;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
        if (pads_)
            pads_->Handle(e, question_, tapped_);
        break;
    case SDL_DISPLAYEVENT:
        if (window_ != nullptr)
            KeepSizeHints(); // a larger screen plugged in allows a larger window
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            SizeChanged(e.window.data1, e.window.data2);
        else if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
            Render();
        else if (e.window.event == SDL_WINDOWEVENT_CLOSE)
            closeRequested_ = true;
        else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST && presents_ > 0)
            SetPaused(true); // the player went elsewhere: the game waits for him
        break;
    default:
        break;
    }
}

// The keys that belong to the window, not to the game: P pauses, M turns the music on or
// off, F11 and Alt+Enter switch between the window and full screen, and Escape ends a
// pause on its way to the game.
bool SdlPlatform::HandleControlKey(const SDL_KeyboardEvent& key)
{
    const SDL_Scancode code = key.keysym.scancode;
    if (code == SDL_SCANCODE_ESCAPE && paused_) {
        QuitFromPause();
        return true;
    }
    if (code == SDL_SCANCODE_P) {
        SetPaused(!paused_);
        return true;
    }
    if (code == SDL_SCANCODE_M) {
        SetMusicOn(!MusicOn());
        return true;
    }
    const bool enter = code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER;
    if (code == SDL_SCANCODE_F11 || (enter && (key.keysym.mod & KMOD_ALT) != 0)) {
        modeSwitch_.Press();
        return true;
    }
    return false;
}

// The window keeps between the picture at 1x and the largest screen: a window manager
// holds it there by the hints; without one a size outside is put back once the events
// read so far are handled (each put-back waits inside SDL for the window's answer, so a
// storm of sizes costs one wait per pass, not one per size). Nothing is drawn at a giant
// size meanwhile: the drawing buffers follow the window's size, and one at 10000 x 10000
// would hold hundreds of megabytes.
void SdlPlatform::KeepSizeHints()
{
    const WindowSize largest = LargestScreen();
    SDL_SetWindowMinimumSize(window_, PictureWidth, PictureHeight);
    SDL_SetWindowMaximumSize(window_, largest.w, largest.h);
}

void SdlPlatform::KeepSizeInBounds()
{
    if (window_ == nullptr || modeSwitch_.FullScreen())
        return;
    WindowSize size;
    SDL_GetWindowSize(window_, &size.w, &size.h);
    const WindowSize kept = KeptWindowSize(size, LargestScreen());
    if (kept.w != size.w || kept.h != size.h)
        SDL_SetWindowSize(window_, kept.w, kept.h);
}

bool SdlPlatform::TooLargeToDraw(int w, int h) const
{
    const WindowSize largest = LargestScreen();
    return !modeSwitch_.FullScreen() && (w > largest.w || h > largest.h);
}

void SdlPlatform::SizeChanged(int w, int h)
{
    if (modeSwitch_.Switching() && w == answerW_ && h == answerH_)
        modeSwitch_.Answered();
    Render();
}

// Escape (or a pad's Back) quits a paused game as escape quits a running one: the pause
// ends and the game reads escape at its next poll, so a recording holds it like any other.
void SdlPlatform::QuitFromPause()
{
    SetPaused(false);
    tapped_[static_cast<size_t>(Key::Escape)] = 0x80;
}

void SdlPlatform::SetPaused(bool paused)
{
    if (paused == paused_)
        return;
    paused_ = paused;
    sound_.Pause(paused);
    if (!paused)
        tapped_.fill(0);
    KeepScreenAwake();
    Upload();
    Render();
}

// Under a window manager full screen is the manager's own state: it takes the frame away
// and gives the window back where it was and at its size (moving a framed window by hand
// would place the frame, not the window, at the old spot). A desktop without a window
// manager ignores that request, so there the game makes a borderless window the size of
// the desktop itself.
void SdlPlatform::SwitchMode(bool fullScreen)
{
    if (fullScreen) {
        int top = 0, left = 0, bottom = 0, right = 0;
        managed_ = SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) == 0 &&
                   (top | left | bottom | right) != 0;
        SDL_GetWindowPosition(window_, &windowed_.left, &windowed_.top);
        int w = 0, h = 0;
        SDL_GetWindowSize(window_, &w, &h);
        windowed_.right = windowed_.left + w;
        windowed_.bottom = windowed_.top + h;
        SDL_Rect desktop{0, 0, 640, 480};
        SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &desktop);
        if (!managed_) {
            SDL_SetWindowBordered(window_, SDL_FALSE);
            SDL_SetWindowPosition(window_, desktop.x, desktop.y);
            SDL_SetWindowSize(window_, desktop.w, desktop.h);
        }
        answerW_ = desktop.w;
        answerH_ = desktop.h;
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        answerW_ = startedFullScreen_ ? StartedFullWidth : windowed_.width();
        answerH_ = startedFullScreen_ ? StartedFullHeight : windowed_.height();
        SDL_SetWindowFullscreen(window_, 0);
        if (startedFullScreen_) {
            // Started in full screen, it has no window size of its own yet.
            startedFullScreen_ = false;
            SDL_SetWindowBordered(window_, SDL_TRUE);
            SDL_SetWindowSize(window_, StartedFullWidth, StartedFullHeight);
            SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        } else if (!managed_) {
            SDL_SetWindowBordered(window_, SDL_TRUE);
            SDL_SetWindowSize(window_, windowed_.width(), windowed_.height());
            SDL_SetWindowPosition(window_, windowed_.left, windowed_.top);
        }
    }
    SDL_ShowCursor(fullScreen ? SDL_DISABLE : SDL_ENABLE);
    Render();
}

// Runs once the events read so far are handled: the window's size is put back in bounds,
// and at most one mode switch starts. A close request read meanwhile wins: no switch
// starts after it.
void SdlPlatform::ServeWindow()
{
    if (window_ == nullptr || closeRequested_)
        return;
    KeepSizeInBounds();
    const uint32_t now = SDL_GetTicks();
    if (modeSwitch_.Due(now))
        SwitchMode(modeSwitch_.Begin(now));
}

void SdlPlatform::DoEvents()
{
    SDL_Event e;
    while (SDL_PollEvent(&e) != 0)
        Handle(e);
    ServeWindow();
    sound_.Music().Serve();
}

void SdlPlatform::WaitUntil(uint32_t tick)
{
    for (;;) {
        // Paused, no frame is due: the clock the game reads runs on, but a late frame is
        // never made up for, so play resumes without a burst.
        while (paused_ && !closeRequested_) {
            SDL_Event e;
            if (SDL_WaitEventTimeout(&e, 250) != 0)
                Handle(e);
            DoEvents();
        }
        const uint32_t now = SDL_GetTicks();
        if (static_cast<int32_t>(tick - now) <= 0 || closeRequested_)
            return;
        // In smooth motion pictures go up between the frames while the game waits.
        const uint32_t wake = NextWake(now, tick);
        if (wake == now)
            continue;
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, static_cast<int>(wake - now)) != 0) {
            Handle(e);
            DoEvents();
        }
    }
}

void SdlPlatform::ShowMessage(const std::string& title, const std::string& text)
{
    std::fprintf(stderr, "zorbo: %s\n", text.c_str());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), text.c_str(), window_);
}

// SDL hands a caption to X as UTF-8 only when the C library's character type is UTF-8, and
// a program starts in the "C" locale: the title is set under a UTF-8 one, as SDL itself
// switches the locale around its keyboard set-up, so the dash and the dot arrive whole.
void SdlPlatform::SetTitle(const std::string& title)
{
    if (window_ == nullptr)
        return;
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string previous = current != nullptr ? current : "C";
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr)
        std::setlocale(LC_CTYPE, ""); // the player's own, on a desktop nearly always UTF-8
    SDL_SetWindowTitle(window_, title.c_str());
    std::setlocale(LC_CTYPE, previous.c_str());
}

bool SdlPlatform::StartDisplay()
{
    if (window_ == nullptr)
        return false;
    // Smooth motion waits for the display's refresh where the renderer can.
    if (smooth_)
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
    if (renderer_ == nullptr)
        renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_ == nullptr)
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr)
        throw std::runtime_error(std::string("cannot draw into the game window: ") + SDL_GetError());
    // A renderer may re-create the window for its drawing context, and the new one forgets
    // the size limits.
    KeepSizeHints();
    KeepScreenAwake();
    StartMotion();
    return true;
}

void SdlPlatform::Present(const Canvas& frame)
{
    const Surface& picture = frame.Composed();
    if (renderer_ == nullptr || !picture.valid())
        return;
    if (texture_ == nullptr || pictureW_ != picture.Width() || pictureH_ != picture.Height()) {
        if (texture_ != nullptr)
            SDL_DestroyTexture(texture_);
        pictureW_ = picture.Width();
        pictureH_ = picture.Height();
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                     pictureW_, pictureH_);
        if (texture_ == nullptr)
            return;
        SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    }
    lastPicture_.Assign(picture);
    lastSrc_ = picture.SurfaceRect();
    if (smooth_) {
        inBetweens_.FrameShown(frame.LastFrame(), SDL_GetTicks());
        ShowDueInBetween();
    } else {
        Upload();
        Render();
        LogPicture(SDL_GetTicks(), frame.LastFrame().number, 0.0);
    }
    if (++presents_ == 1)
        firstPresent_ = SDL_GetTicks();
    if (closeAfter_ >= 0 && presents_ >= closeAfter_)
        closeRequested_ = true;
}

// The last picture into the texture, under the pause overlay while paused.
void SdlPlatform::Upload()
{
    shownInBetween_ = false;
    if (texture_ == nullptr || !lastPicture_.valid())
        return;
    if (!paused_) {
        UploadPixels(lastPicture_.pixels());
        return;
    }
    Surface dimmed;
    dimmed.Assign(lastPicture_);
    DrawPausedOverlay(dimmed);
    UploadPixels(dimmed.pixels());
}

void SdlPlatform::UploadPixels(const uint32_t* pixels)
{
    if (texture_ != nullptr)
        SDL_UpdateTexture(texture_, nullptr, pixels, pictureW_ * static_cast<int>(sizeof(uint32_t)));
}

void SdlPlatform::Render()
{
    if (renderer_ == nullptr || texture_ == nullptr)
        return;
    // The latest size the desktop reported, so a giant one is seen before it is drawn at.
    SDL_PumpEvents();
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    if (TooLargeToDraw(outW, outH))
        return;
    const int srcW = lastSrc_.width(), srcH = lastSrc_.height();
    if (srcW <= 0 || srcH <= 0)
        return;
    // In every mode and window size the largest whole factor that fits, centred on black.
    pictureRect_ = WholeScaleRect(outW, outH, srcW, srcH);
    const SDL_Rect dst{pictureRect_.left, pictureRect_.top, pictureRect_.width(), pictureRect_.height()};
    const SDL_Rect src{lastSrc_.left, lastSrc_.top, srcW, srcH};
    // Black around the picture; a picture that fills the window leaves nothing to clear.
    if (pictureRect_ != Rect{0, 0, outW, outH}) {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
    }
    SDL_RenderCopy(renderer_, texture_, &src, &dst);
    SDL_RenderPresent(renderer_);
}

void SdlPlatform::StopDisplay()
{
    if (texture_ != nullptr)
        SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr)
        SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr)
        SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    KeepScreenAwake();
}

void SdlPlatform::ReadKeyboard(KeyState& keys)
{
    SDL_PumpEvents();
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        Handle(e);
    ServeWindow();
    keys = tapped_;
    tapped_.fill(0);
    if (paused_) {
        // Paused during this poll: nothing reaches the game.
        keys.fill(0);
        return;
    }
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int i = 0; i < count; ++i) {
        // The window's own keys are never the game's.
        if (i == SDL_SCANCODE_P || i == SDL_SCANCODE_M || i == SDL_SCANCODE_F11)
            continue;
        if (state[i] != 0) {
            const int code = GameScanCode(static_cast<SDL_Scancode>(i));
            if (code != 0)
                keys[static_cast<size_t>(code)] = 0x80;
        }
    }
    if (pads_)
        pads_->AddKeys(keys, question_, SDL_GetTicks());
}

bool SdlPlatform::OpenAudio()
{
    return sound_.Open();
}

bool SdlPlatform::LoadSound(int number, const std::string& file, std::string& error)
{
    return sound_.Load(number, file, error);
}

void SdlPlatform::PlaySound(int number)
{
    sound_.Play(number);
}

void SdlPlatform::PlaySoundSync(int number)
{
    sound_.Play(number);
    // The game stands still, but the window stays responsive (and in smooth motion the
    // last frame's movement is finished).
    while (sound_.Playing(number) != 0 && !closeRequested_) {
        DoEvents();
        if (!paused_)
            ShowDueInBetween();
        SDL_Delay(5);
    }
}

void SdlPlatform::CloseAudio()
{
    sound_.Close();
}

bool SdlPlatform::SavePicture(const std::string& file) const
{
    if (!lastPicture_.valid())
        return false;
    // SDL only reads the pixels to save them.
    auto* pixels = const_cast<uint32_t*>(lastPicture_.pixels());
    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormatFrom(pixels, pictureW_, pictureH_, 32, pictureW_ * 4, SDL_PIXELFORMAT_RGB888);
    if (s == nullptr)
        return false;
    const bool ok = SDL_SaveBMP(s, file.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

} // namespace zorbo
