// Measures what a user waits for in a real X server: from a synthetic click on
// a program's run button (XTest) to the picture the press changes, polled
// through shared memory (MIT-SHM) until it stops changing, so that the polling
// leaves the program the processor time it would have; and from a program's
// launch to its first window, fully drawn.
//   press-to-pixels <program> [presses]   launch time, then for velmora presses
//                                         until the chart is final at the start
//                                         settings, with exponential arrivals and
//                                         normal processing, the same with the
//                                         Серверы window open beside the chart,
//                                         and during a series of a million runs;
//                                         for kestrin presses until the Склад по
//                                         дням window shows its chart and table
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <signal.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start, Clock::time_point end)
{
    return std::chrono::duration<double, std::milli>(end - start).count();
}

// A picture counts as final once it has not changed for this long.
constexpr auto settled = std::chrono::milliseconds(400);

struct Rect {
    int x, y, width, height;
};

// An image of the screen that the X server fills in shared memory.
class SharedImage {
public:
    SharedImage(Display* display, unsigned width, unsigned height)
        : display_(display)
    {
        const int screen = DefaultScreen(display);
        image_ = XShmCreateImage(display, DefaultVisual(display, screen),
                                 static_cast<unsigned>(DefaultDepth(display, screen)), ZPixmap, nullptr, &segment_,
                                 width, height);
        segment_.shmid =
            shmget(IPC_PRIVATE, static_cast<std::size_t>(image_->bytes_per_line * image_->height), IPC_CREAT | 0600);
        segment_.shmaddr = image_->data = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
        segment_.readOnly = False;
        XShmAttach(display, &segment_);
        XSync(display, False);
        // Removed once both sides have detached.
        shmctl(segment_.shmid, IPC_RMID, nullptr);
    }
    ~SharedImage()
    {
        XShmDetach(display_, &segment_);
        XDestroyImage(image_);
        shmdt(segment_.shmaddr);
    }
    SharedImage(const SharedImage&) = delete;
    SharedImage& operator=(const SharedImage&) = delete;

    std::vector<char> grab(int x, int y)
    {
        if (!XShmGetImage(display_, DefaultRootWindow(display_), image_, x, y, AllPlanes))
            return {};
        return std::vector<char>(image_->data, image_->data + image_->bytes_per_line * image_->height);
    }

private:
    Display* display_;
    XShmSegmentInfo segment_{};
    XImage* image_;
};

class Desktop {
public:
    Desktop()
        : display_(XOpenDisplay(nullptr))
    {
        if (display_ == nullptr) {
            std::fprintf(stderr, "press-to-pixels: cannot open the X display\n");
            std::exit(2);
        }
        int event, error, major, minor;
        if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
            std::fprintf(stderr, "press-to-pixels: the X server has no XTest extension\n");
            std::exit(2);
        }
        if (!XShmQueryExtension(display_)) {
            std::fprintf(stderr, "press-to-pixels: the X server has no MIT-SHM extension\n");
            std::exit(2);
        }
    }
    ~Desktop()
    {
        images_.clear();
        XCloseDisplay(display_);
    }

    // The viewable top-level window whose class is `name`, if any, other than `other`.
    std::optional<Window> findWindow(const std::string& name, Window other = None)
    {
        return search(DefaultRootWindow(display_), name, other);
    }

    void move(Window window, int x, int y)
    {
        XMoveWindow(display_, window, x, y);
        XFlush(display_);
    }

    void place(Window window, const Rect& area)
    {
        XMoveResizeWindow(display_, window, area.x, area.y, static_cast<unsigned>(area.width),
                          static_cast<unsigned>(area.height));
        XFlush(display_);
    }

    // Presses and releases a key, with Control held when asked.
    void key(KeySym symbol, bool control = false)
    {
        const KeyCode controlKey = XKeysymToKeycode(display_, XK_Control_L);
        if (control)
            XTestFakeKeyEvent(display_, controlKey, True, CurrentTime);
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, symbol), True, CurrentTime);
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, symbol), False, CurrentTime);
        if (control)
            XTestFakeKeyEvent(display_, controlKey, False, CurrentTime);
        XFlush(display_);
    }

    // The window's client area in root coordinates.
    Rect clientArea(Window window)
    {
        XWindowAttributes attributes;
        XGetWindowAttributes(display_, window, &attributes);
        int x = 0;
        int y = 0;
        Window child;
        XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
        return {x, y, attributes.width, attributes.height};
    }

    // The picture of an area, as far as it lies on the screen.
    std::vector<char> grab(const Rect& area)
    {
        const int right = std::min(area.x + area.width, DisplayWidth(display_, DefaultScreen(display_)));
        const int bottom = std::min(area.y + area.height, DisplayHeight(display_, DefaultScreen(display_)));
        if (right <= area.x || bottom <= area.y)
            return {};
        auto& image = images_[{right - area.x, bottom - area.y}];
        if (image == nullptr)
            image = std::make_unique<SharedImage>(display_, static_cast<unsigned>(right - area.x),
                                                  static_cast<unsigned>(bottom - area.y));
        return image->grab(area.x, area.y);
    }

    // Asks the window to close, as its title bar's close button does.
    void close(Window window)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, window, False, NoEventMask, &event);
        XFlush(display_);
    }

    // The pictures of several areas, one after the other.
    std::vector<char> grab(const std::vector<Rect>& areas)
    {
        std::vector<char> pixels;
        for (const Rect& area : areas) {
            const std::vector<char> part = grab(area);
            pixels.insert(pixels.end(), part.begin(), part.end());
        }
        return pixels;
    }

    void click(int x, int y)
    {
        XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XFlush(display_);
    }

private:
    std::optional<Window> search(Window window, const std::string& name, Window other)
    {
        XClassHint hint;
        if (window != other && XGetClassHint(display_, window, &hint)) {
            const bool match = hint.res_class != nullptr && name == hint.res_class;
            XFree(hint.res_name);
            XFree(hint.res_class);
            XWindowAttributes attributes;
            if (match && XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable)
                return window;
        }
        Window root;
        Window parent;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, window, &root, &parent, &children, &count))
            return std::nullopt;
        std::optional<Window> found;
        for (unsigned i = 0; i < count && !found; ++i)
            found = search(children[i], name, other);
        XFree(children);
        return found;
    }

    Display* display_;
    // One image for each size of area grabbed.
    std::map<std::pair<int, int>, std::unique_ptr<SharedImage>> images_;
};

// Polls the areas until their picture has not changed for `settled`; returns
// when it last changed, or nothing when it never changed from `before`.
std::optional<Clock::time_point> lastChange(Desktop& desktop, const std::vector<Rect>& areas,
                                            const std::vector<char>& before, Clock::time_point since)
{
    std::vector<char> previous = before;
    std::optional<Clock::time_point> changed;
    while (Clock::now() - changed.value_or(since) < settled && Clock::now() - since < std::chrono::seconds(10)) {
        std::vector<char> current = desktop.grab(areas);
        if (current != previous) {
            changed = Clock::now();
            previous.swap(current);
        }
    }
    return changed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Point {
    int x, y;
};

// Each press is timed until the areas show their final picture.
void measurePresses(Desktop& desktop, Point button, const std::vector<Rect>& areas, int presses, const char* setting,
                    int target = 16)
{
    std::vector<double> times;
    for (int i = 0; i < presses; ++i) {
        const std::vector<char> before = desktop.grab(areas);
        const Clock::time_point pressed = Clock::now();
        desktop.click(button.x, button.y);
        if (const auto changed = lastChange(desktop, areas, before, pressed))
            times.push_back(millisecondsSince(pressed, *changed));
    }
    if (times.empty()) {
        std::printf("Press to final picture, %s: the picture never changed\n", setting);
        return;
    }
    std::printf(
        "Press to final picture, %s: median %.1f ms, range %.1f to %.1f ms over %zu presses (target <= %d ms)\n",
        setting, median(times), *std::min_element(times.begin(), times.end()),
        *std::max_element(times.begin(), times.end()), times.size(), target);
}

// Opens a window of the main window's by Ctrl and its key, and waits for it.
std::optional<Window> openOwnWindow(Desktop& desktop, const std::string& name, Window main, KeySym key)
{
    desktop.key(key, true);
    std::optional<Window> opened;
    const Clock::time_point pressed = Clock::now();
    while (!(opened = desktop.findWindow(name, main)) && Clock::now() - pressed < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return opened;
}

// velmora's run button and chart, in the coordinates of the designed area,
// which lies below the menu bar.
constexpr int designedHeight = 557;
constexpr Rect chart{8, 32, 577, 465};

Point velmoraButton(const Rect& client)
{
    return {client.x + 8 + 784 / 2, client.y + client.height - designedHeight + 512 + 33 / 2};
}

Rect velmoraChart(const Rect& client)
{
    return {client.x + chart.x, client.y + client.height - designedHeight + chart.y, chart.width, chart.height};
}

// The Серверы window (Ctrl+U) open beside the chart, the main window moved to
// the corner so that the two share the screen without hiding the chart, the
// run button or each other; closed again afterwards.
void measureWithServers(Desktop& desktop, Window main, const std::string& name, int presses)
{
    desktop.move(main, 0, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const Rect client = desktop.clientArea(main);
    const std::optional<Window> servers = openOwnWindow(desktop, name, main, XK_u);
    if (!servers) {
        std::printf("The Серверы window did not open\n");
        return;
    }
    const int left = chart.x + chart.width + 8;
    desktop.place(*servers, {left, 0, 1280 - left, 1000});
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    measurePresses(desktop, velmoraButton(client), {velmoraChart(client), desktop.clientArea(*servers)}, presses,
                   "with the Серверы window open");
    desktop.close(*servers);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (desktop.findWindow(name, main))
        std::printf("The Серверы window did not close\n");
}

void measureVelmora(Desktop& desktop, Window window, int presses)
{
    Rect client = desktop.clientArea(window);
    measurePresses(desktop, velmoraButton(client), {velmoraChart(client)}, presses, "start settings");
    // Exponential arrivals and normal processing, by their radio buttons.
    const int menu = client.height - designedHeight;
    desktop.click(client.x + 615 + 8, client.y + menu + 120 + 8);
    desktop.click(client.x + 617 + 8, client.y + menu + 336 + 8);
    lastChange(desktop, {client}, desktop.grab(client), Clock::now());
    measurePresses(desktop, velmoraButton(client), {velmoraChart(client)}, presses,
                   "exponential arrivals, normal processing");
    measureWithServers(desktop, window, "velmora", presses);
    client = desktop.clientArea(window);
    // A series of a million runs from the series window (Ctrl+R), moved aside;
    // its runs field has the focus when it opens.
    const std::optional<Window> series = openOwnWindow(desktop, "velmora", window, XK_r);
    if (!series) {
        std::printf("The series window did not open\n");
        return;
    }
    desktop.move(*series, client.x, client.y + client.height + 40);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    desktop.key(XK_a, true);
    desktop.key(XK_1);
    for (int digit = 0; digit < 6; ++digit)
        desktop.key(XK_0);
    desktop.key(XK_Return);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    // A running series shows its progress.
    const Rect seriesArea = desktop.clientArea(*series);
    const std::vector<char> progress = desktop.grab(seriesArea);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (desktop.grab(seriesArea) == progress)
        std::printf("The series did not start\n");
    measurePresses(desktop, velmoraButton(client), {velmoraChart(client)}, presses, "during a series of a million runs",
                   50);
}

// kestrin's "Посчитать" in its designed area below the menu bar, with the Склад
// по дням window (Ctrl+U, from the first order's field, which has the focus)
// beside the main window, which moves to the corner to make room.
void measureKestrin(Desktop& desktop, Window window, int presses)
{
    desktop.move(window, 0, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const Rect client = desktop.clientArea(window);
    // Without a window manager a window takes keys once a click activated it:
    // a click on a blank spot of it.
    desktop.click(client.x + 8, client.y + client.height - 8);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::optional<Window> days = openOwnWindow(desktop, "kestrin", window, XK_u);
    if (!days) {
        std::printf("The Склад по дням window did not open\n");
        return;
    }
    desktop.move(*days, client.x + client.width + 8, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    constexpr int kestrinHeight = 448;
    const Point button{client.x + 312 + 145 / 2, client.y + client.height - kestrinHeight + 128 + 121 / 2};
    measurePresses(desktop, button, {desktop.clientArea(*days)}, presses, "the Склад по дням window's chart and table");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: press-to-pixels <program> [presses]\n");
        return 2;
    }
    const std::string program = argv[1];
    const int presses = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    const std::string name = program.substr(program.find_last_of('/') + 1);
    Desktop desktop;

    const Clock::time_point launched = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        std::perror("press-to-pixels: exec");
        _exit(127);
    }
    std::optional<Window> window;
    while (!(window = desktop.findWindow(name)) && Clock::now() - launched < std::chrono::seconds(20))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!window) {
        std::fprintf(stderr, "press-to-pixels: no window of class %s appeared\n", name.c_str());
        kill(child, SIGTERM);
        return 1;
    }
    const Rect client = desktop.clientArea(*window);
    const auto drawn = lastChange(desktop, {client}, {}, launched);
    std::printf("%s: launch to first window, fully drawn: %.0f ms (target < 300 ms)\n", name.c_str(),
                millisecondsSince(launched, drawn.value_or(launched)));
    if (name == "velmora")
        measureVelmora(desktop, *window, presses);
    else if (name == "kestrin")
        measureKestrin(desktop, *window, presses);
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    return 0;
}
