// The whole-picture actions as the user feels them: from the X event to the repaint on
// the screen, in the real Vermeo window, on a large and a small picture side by side.
// Run by bench/window_actions.sh, which starts one Vermeo per picture, each on an Xvfb
// display of its own with the picture open, and passes the displays here.
// Usage: window_actions ROUNDS DISPLAY_SMALL DISPLAY_LARGE SMALL.jpg LARGE.jpg
// Each round runs every action on both pictures (the order of the two swapped every
// round), times the decode of each file by djpeg and a plain pass over each picture's
// bytes (memcpy), and the table gives the median and the minimum of each.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern int XTestFakeMotionEvent(Display *, int, int, int, unsigned long);
extern int XTestFakeButtonEvent(Display *, unsigned int, int, unsigned long);
extern int XTestFakeKeyEvent(Display *, unsigned int, int, unsigned long);

static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static void pause_ms(int ms) { usleep((useconds_t)ms * 1000); }

typedef struct {
    Display *d;
    Window root;
    int sw, sh;
    int x, y, w, h; // the picture on the screen (its visible part)
    const char *file;
    int pw, ph;     // the picture's size
} Shown;

// The rows of the table: what is timed, and what it is compared with.
enum { kDelete, kZoomOut, kOpen, kPaste, kCopy, kPress, kActions };
static const char *kNames[kActions] = {"select-all + Delete", "zoom out one step", "open (recent file)",
                                       "Ctrl+V as a new window", "copy (Ctrl+C)", "pencil press after undo"};
// Whether the action has to touch every pixel (compared with a plain pass) or not
// (compared with the small picture).
static const int kWholePass[kActions] = {1, 1, 1, 1, 0, 0};

#define MAXROUNDS 64
static double g_times[2][kActions][MAXROUNDS];
static double g_pass[2][MAXROUNDS], g_decode[2][MAXROUNDS];
static int g_failed;

static XImage *grab(Shown *s, int x, int y, int w, int h)
{
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    if (x + w > s->sw) w = s->sw - x;
    if (y + h > s->sh) h = s->sh - y;
    return XGetImage(s->d, s->root, x, y, (unsigned)w, (unsigned)h, AllPlanes, ZPixmap);
}

static int same(XImage *a, XImage *b)
{
    return a->height == b->height && a->bytes_per_line == b->bytes_per_line &&
           memcmp(a->data, b->data, (size_t)a->bytes_per_line * a->height) == 0;
}

// The picture's colour: green over red and blue, whatever JPEG did to it (and none of
// the colour palette's greens).
static int greenish(unsigned long p)
{
    const int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
    return r >= 15 && r < 90 && g > 110 && g - r > 60 && g - b > 20;
}
static int white(unsigned long p) { return (p & 0xFFFFFF) == 0xFFFFFF; }

static int all_pixels(XImage *im, int (*test)(unsigned long))
{
    for (int y = 0; y < im->height; ++y)
        for (int x = 0; x < im->width; ++x)
            if (!test(XGetPixel(im, x, y))) return 0;
    return 1;
}

// Finds the picture: the bounding box of the greenish pixels on the screen.
static int locate(Shown *s)
{
    XImage *im = grab(s, 0, 0, s->sw, s->sh);
    int x0 = s->sw, y0 = s->sh, x1 = -1, y1 = -1;
    for (int y = 0; y < im->height; y += 1)
        for (int x = 0; x < im->width; x += 1)
            if (greenish(XGetPixel(im, x, y))) {
                if (x < x0) x0 = x;
                if (y < y0) y0 = y;
                if (x > x1) x1 = x;
                if (y > y1) y1 = y;
            }
    XDestroyImage(im);
    if (x1 < 0) return 0;
    s->x = x0, s->y = y0, s->w = x1 - x0 + 1, s->h = y1 - y0 + 1;
    return 1;
}

static void key(Shown *s, const char *combo)
{
    char buf[128];
    strncpy(buf, combo, 127);
    buf[127] = 0;
    KeyCode mods[4];
    int nm = 0;
    char *last = NULL;
    for (char *tok = strtok(buf, "+"); tok; tok = strtok(NULL, "+")) {
        if (last && nm < 4) {
            KeySym ks = !strcmp(last, "ctrl") ? XK_Control_L : !strcmp(last, "alt") ? XK_Alt_L : XK_Shift_L;
            mods[nm++] = XKeysymToKeycode(s->d, ks);
        }
        last = tok;
    }
    for (int i = 0; i < nm; i++) XTestFakeKeyEvent(s->d, mods[i], True, 0);
    KeyCode kc = XKeysymToKeycode(s->d, XStringToKeysym(last));
    XTestFakeKeyEvent(s->d, kc, True, 0);
    XTestFakeKeyEvent(s->d, kc, False, 0);
    for (int i = nm - 1; i >= 0; i--) XTestFakeKeyEvent(s->d, mods[i], False, 0);
    XFlush(s->d);
}

static void move_to(Shown *s, int x, int y)
{
    XTestFakeMotionEvent(s->d, -1, x, y, 0);
    XFlush(s->d);
}

static void button(Shown *s, unsigned b, int down)
{
    XTestFakeButtonEvent(s->d, b, down ? True : False, 0);
    XFlush(s->d);
}

static void ctrl(Shown *s, int down)
{
    XTestFakeKeyEvent(s->d, XKeysymToKeycode(s->d, XK_Control_L), down ? True : False, 0);
    XFlush(s->d);
}

// Waits until the screen region stays the same over 120 ms (the program is idle).
static void settle(Shown *s)
{
    XImage *prev = grab(s, 0, 0, s->sw, s->sh);
    int still = 0;
    for (double t0 = now(); still < 4 && now() - t0 < 60000;) {
        pause_ms(30);
        XImage *im = grab(s, 0, 0, s->sw, s->sh);
        still = same(prev, im) ? still + 1 : 0;
        XDestroyImage(prev);
        prev = im;
    }
    XDestroyImage(prev);
}

// What a timed step waits for on its region.
typedef enum { Changed, AllGreen, AllWhite } Until;

// Milliseconds from t0 (just after the event went) to the region meeting the condition.
static double wait_for(Shown *s, XImage *before, int x, int y, int w, int h, Until until, double t0)
{
    for (;;) {
        XImage *im = grab(s, x, y, w, h);
        int done = until == Changed    ? !same(before, im)
                   : until == AllGreen ? all_pixels(im, greenish)
                                       : all_pixels(im, white);
        XDestroyImage(im);
        const double t = now() - t0;
        if (done) return t;
        if (t > 30000) {
            ++g_failed;
            fprintf(stderr, "window_actions: no repaint within 30 s (%d,%d %dx%d)\n", x, y, w, h);
            return t;
        }
        usleep(200);
    }
}

typedef enum { Key, Press, CtrlWheelDown, KeyThenClipboard } Event;

// Milliseconds from t0 to the program's answer to a request for the clipboard's targets:
// the copy has been made and the program listens again.
static double clipboard_answer(Shown *s, double t0)
{
    const Atom clipboard = XInternAtom(s->d, "CLIPBOARD", False), targets = XInternAtom(s->d, "TARGETS", False);
    const Atom prop = XInternAtom(s->d, "WINDOW_ACTIONS", False);
    const Window w = XCreateSimpleWindow(s->d, s->root, 0, 0, 1, 1, 0, 0, 0);
    XConvertSelection(s->d, clipboard, targets, prop, w, CurrentTime);
    XFlush(s->d);
    XEvent e;
    for (;;) {
        if (XCheckTypedWindowEvent(s->d, w, SelectionNotify, &e)) break;
        if (now() - t0 > 30000) {
            ++g_failed;
            fprintf(stderr, "window_actions: no clipboard answer within 30 s\n");
            break;
        }
        usleep(200);
    }
    const double t = now() - t0;
    XDestroyWindow(s->d, w);
    return t;
}

// Sends one event and times it to the repaint of the region.
static double timed(Shown *s, Event ev, const char *combo, int px, int py, int x, int y, int w, int h, Until until)
{
    XSync(s->d, False);
    XImage *before = grab(s, x, y, w, h);
    double t0 = now();
    switch (ev) {
    case Key: key(s, combo); break;
    case KeyThenClipboard: key(s, combo); break;
    case Press:
        XTestFakeMotionEvent(s->d, -1, px, py, 0);
        XSync(s->d, False);
        t0 = now();
        button(s, 1, 1);
        XTestFakeMotionEvent(s->d, -1, px + 10, py, 0);
        XFlush(s->d);
        break;
    case CtrlWheelDown:
        move_to(s, px, py);
        ctrl(s, 1);
        XSync(s->d, False);
        t0 = now();
        button(s, 5, 1);
        button(s, 5, 0);
        break;
    }
    const double t = ev == KeyThenClipboard ? clipboard_answer(s, t0) : wait_for(s, before, x, y, w, h, until, t0);
    XDestroyImage(before);
    if (ev == CtrlWheelDown) ctrl(s, 0);
    return t;
}

static void step(Shown *s, const char *combo)
{
    key(s, combo);
    settle(s);
}

// One round of every action on one picture, which is open and unmodified at actual
// size before and after.
static void round_of(Shown *s, int which, int r)
{
    settle(s);
    if (!locate(s)) {
        fprintf(stderr, "window_actions: the picture %s is not on the screen\n", s->file);
        exit(1);
    }
    // A probe inside the picture, off its black bars.
    const int px = s->x + 20, py = s->y + 20;
    double *t = &g_times[which][0][0];
#define AT(action) t[(action) * MAXROUNDS + r]

    step(s, "ctrl+a");
    AT(kDelete) = timed(s, Key, "Delete", 0, 0, px, py, 8, 8, AllWhite);
    settle(s);
    step(s, "ctrl+z");

    // A press and a short move draw a line.
    AT(kPress) = timed(s, Press, NULL, px + 20, py + 20, px + 18, py + 18, 16, 5, Changed);
    button(s, 1, 0);
    settle(s);
    step(s, "ctrl+z");

    step(s, "ctrl+a");
    AT(kCopy) = timed(s, KeyThenClipboard, "ctrl+c", 0, 0, 0, 0, 1, 1, Changed);
    settle(s);

    // The new window comes over the picture's window.
    const int rw = s->w < 600 ? s->w : 600, rh = s->h < 400 ? s->h : 400;
    AT(kPaste) = timed(s, Key, "ctrl+v", 0, 0, s->x, s->y, rw, rh, Changed);
    settle(s);
    // Taken back, the pasted picture is the blank one the window began with: it closes
    // without a question.
    step(s, "ctrl+z");
    step(s, "alt+f");
    step(s, "f");

    // The bars move.
    AT(kZoomOut) = timed(s, CtrlWheelDown, NULL, px + 40, py + 40, s->x, s->y, rw, rh, Changed);
    settle(s);
    move_to(s, px + 40, py + 40);
    ctrl(s, 1);
    button(s, 4, 1);
    button(s, 4, 0);
    ctrl(s, 0);
    settle(s);

    step(s, "alt+f");
    step(s, "f");
    step(s, "alt+f");
    step(s, "r");
    AT(kOpen) = timed(s, Key, "1", 0, 0, px, py, 8, 8, AllGreen);
    settle(s);
#undef AT
}

static double plain_pass(int w, int h)
{
    const size_t n = (size_t)w * h * 4;
    char *a = malloc(n), *b = malloc(n);
    memset(a, 1, n);
    memset(b, 2, n);
    const double t0 = now();
    memcpy(b, a, n);
    const double t = now() - t0;
    if (b[n / 2] != 1) abort();
    free(a);
    free(b);
    return t;
}

static double decode(const char *file)
{
    const double t0 = now();
    pid_t pid = fork();
    if (pid == 0) {
        execlp("djpeg", "djpeg", "-outfile", "/dev/null", file, (char *)NULL);
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fprintf(stderr, "window_actions: djpeg failed on %s\n", file);
        exit(1);
    }
    return now() - t0;
}

static int cmp(const void *a, const void *b)
{
    const double x = *(const double *)a, y = *(const double *)b;
    return x < y ? -1 : x > y;
}

static double median(const double *v, int n, double *minimum)
{
    double s[MAXROUNDS];
    memcpy(s, v, sizeof(double) * (size_t)n);
    qsort(s, (size_t)n, sizeof(double), cmp);
    *minimum = s[0];
    return n % 2 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) / 2;
}

static void open_screen(Shown *s, const char *name, const char *file)
{
    s->d = XOpenDisplay(name);
    if (!s->d) {
        fprintf(stderr, "window_actions: no display %s\n", name);
        exit(2);
    }
    s->root = DefaultRootWindow(s->d);
    s->sw = DisplayWidth(s->d, DefaultScreen(s->d));
    s->sh = DisplayHeight(s->d, DefaultScreen(s->d));
    s->file = file;
}

int main(int argc, char **argv)
{
    if (argc != 8) {
        fprintf(stderr, "usage: window_actions ROUNDS DISPLAY_SMALL DISPLAY_LARGE SMALL.jpg LARGE.jpg W H\n"
                        "  W H: the large picture's size\n");
        return 2;
    }
    int rounds = atoi(argv[1]);
    if (rounds < 1) rounds = 1;
    if (rounds > MAXROUNDS) rounds = MAXROUNDS;
    Shown screens[2];
    open_screen(&screens[0], argv[2], argv[4]);
    open_screen(&screens[1], argv[3], argv[5]);
    screens[0].pw = 400, screens[0].ph = 300;
    screens[1].pw = atoi(argv[6]), screens[1].ph = atoi(argv[7]);

    // A round of warming up, not counted (the first press only activates the window).
    round_of(&screens[0], 0, 0);
    round_of(&screens[1], 1, 0);
    g_failed = 0;
    for (int r = 0; r < rounds; ++r) {
        for (int k = 0; k < 2; ++k) {
            const int which = (r + k) % 2;
            round_of(&screens[which], which, r);
            g_decode[which][r] = decode(screens[which].file);
            g_pass[which][r] = plain_pass(screens[which].pw, screens[which].ph);
        }
        fprintf(stderr, "round %d of %d\n", r + 1, rounds);
    }

    double mn[2], md[2];
    printf("%d interleaved rounds, milliseconds from the X event to the repaint, median (minimum)\n", rounds);
    printf("%-26s %18s %18s %9s %9s\n", "", "400 x 300", "large", "large/", "large/");
    printf("%-26s %18s %18s %9s %9s\n", "", "", "", "small", "baseline");
    for (int which = 0; which < 2; ++which) {
        md[which] = median(g_pass[which], rounds, &mn[which]);
    }
    const double passMd = md[1], passMn = mn[1];
    printf("%-26s %9.2f (%6.2f) %9.2f (%6.2f)\n", "baseline: plain pass", md[0], mn[0], md[1], mn[1]);
    for (int which = 0; which < 2; ++which) md[which] = median(g_decode[which], rounds, &mn[which]);
    const double decodeMd = md[1];
    printf("%-26s %9.2f (%6.2f) %9.2f (%6.2f)\n", "baseline: djpeg decode", md[0], mn[0], md[1], mn[1]);
    (void)passMn;
    for (int a = 0; a < kActions; ++a) {
        for (int which = 0; which < 2; ++which) md[which] = median(g_times[which][a], rounds, &mn[which]);
        const double base = a == kOpen ? decodeMd : kWholePass[a] ? passMd : md[0];
        printf("%-26s %9.1f (%6.1f) %9.1f (%6.1f) %8.1fx %8.1fx%s\n", kNames[a], md[0], mn[0], md[1], mn[1],
               md[1] / md[0], md[1] / base, a == kOpen ? " decode" : kWholePass[a] ? " pass" : " small");
    }
    if (g_failed) printf("%d timed steps saw no repaint within 30 s\n", g_failed);
    return g_failed ? 1 : 0;
}
