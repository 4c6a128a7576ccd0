// The teacher's wait as seen on the screen: the real program (tessavo) is
// started on a prepared working folder under an X display (Xvfb), driven with
// XTest events as a person's mouse and keyboard drive it, and each action is
// timed from its input event to the last pixel of the screen that changes,
// the screen being read again and again with GetImage. An action is over when
// nothing changed for 300 ms; its time is that of the last change seen.
//
//   xvfb-run -a -s "-screen 0 1366x768x24" build/bench/tessavo_bench_pixels [RUNS [REPEATS]] [--charge N]
//       [--comparer OTHER_PROGRAM]
//
//   build/bench/tessavo_bench_pixels preparer FOLDER   (the working folders alone, to try by hand)
//
//   xvfb-run -a -s "-screen 0 1366x768x24" build/bench/tessavo_bench_pixels demarrage [PAIRS]
//   xvfb-run -a -s "-screen 0 1366x768x24" build/bench/tessavo_bench_pixels son [RUNS [REPEATS]] [...]
//
// "demarrage": the start alone, from the spawn of the process to the last
// changed pixel of its first window: the program (its student screen, on the
// 1,200-word working folder) and an empty Qt Widgets window
// (tessavo_bench_empty) started the same way, alternated, PAIRS pairs after
// one pair of warm-up; the ratio is taken pair by pair. "son": the sound
// field's actions alone.
//
// RUNS starts of the program per document (each times the layout screen's
// opening once), REPEATS of each action per start. --charge N runs N busy
// loops beside (a compile's load, without a compile's variation).
// --comparer starts another build of the program in turn with this one
// (each start of one followed by a start of the other). The
// working folder is prepared in TMPDIR: one student, a 20 KB document and a
// 1,200-word document, saved as the import screen saves them.
#include "frenchtext.h"

#include "import/readingdocument.h"
#include "import/savedocument.h"
#include "workspace/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <iterator>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

using namespace Qt::StringLiterals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int SettleMs = 300;
constexpr int LimitMs = 15000;

double msSince(Clock::time_point t0, Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(t - t0).count();
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

struct Rect
{
    int x = 0, y = 0, w = 0, h = 0;
    int cx() const { return x + w / 2; }
    int cy() const { return y + h / 2; }
};

// The display, its windows, its pixels, and XTest's mouse and keyboard.
class Display
{
public:
    Display()
    {
        m_c = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_c)) {
            std::fputs("Pas d'écran X : lancez le banc sous xvfb-run.\n", stderr);
            std::exit(2);
        }
        m_screen = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data;
        m_root = m_screen->root;
    }
    ~Display() { xcb_disconnect(m_c); }

    int width() const { return m_screen->width_in_pixels; }
    int height() const { return m_screen->height_in_pixels; }

    // The viewable top-level window with that title (WM_NAME).
    std::optional<Rect> window(const std::string &title)
    {
        for (xcb_window_t w : topLevels()) {
            if (titleOf(w) == title) {
                // The toolkit keeps a tiny window of the program's name.
                const Rect r = geometry(w);
                if (r.w > 50 && r.h > 50)
                    return r;
            }
        }
        return std::nullopt;
    }
    // Every viewable top-level window's title.
    std::vector<std::string> titles()
    {
        std::vector<std::string> all;
        for (xcb_window_t w : topLevels())
            all.push_back(titleOf(w));
        return all;
    }

    // The pixels of a part of the screen, with the masked rectangles blanked.
    std::vector<uint8_t> grab(const Rect &r, const std::vector<Rect> &masks = {})
    {
        xcb_get_image_reply_t *reply = xcb_get_image_reply(
            m_c, xcb_get_image(m_c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, int16_t(r.x), int16_t(r.y), uint16_t(r.w),
                               uint16_t(r.h), ~0u),
            nullptr);
        if (!reply)
            return {};
        const uint8_t *data = xcb_get_image_data(reply);
        std::vector<uint8_t> pixels(data, data + xcb_get_image_data_length(reply));
        std::free(reply);
        const size_t stride = r.h > 0 ? pixels.size() / size_t(r.h) : 0;
        const size_t bytesPerPixel = r.w > 0 ? stride / size_t(r.w) : 0;
        for (const Rect &m : masks) {
            for (int y = std::max(m.y, r.y); y < std::min(m.y + m.h, r.y + r.h); ++y) {
                const int x0 = std::max(m.x, r.x), x1 = std::min(m.x + m.w, r.x + r.w);
                if (x1 > x0)
                    std::memset(&pixels[size_t(y - r.y) * stride + size_t(x0 - r.x) * bytesPerPixel], 0,
                                size_t(x1 - x0) * bytesPerPixel);
            }
        }
        return pixels;
    }

    void moveTo(int x, int y)
    {
        xcb_test_fake_input(m_c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_root, int16_t(x), int16_t(y), 0);
        xcb_flush(m_c);
    }
    void click()
    {
        xcb_test_fake_input(m_c, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(m_c, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(m_c);
    }
    void key(uint32_t keysym)
    {
        const xcb_keycode_t code = keycodeOf(keysym);
        xcb_test_fake_input(m_c, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(m_c, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(m_c);
    }
    // A round trip: the events sent are in the server.
    void sync() { std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); }

private:
    std::vector<xcb_window_t> topLevels()
    {
        std::vector<xcb_window_t> found;
        xcb_query_tree_reply_t *tree = xcb_query_tree_reply(m_c, xcb_query_tree(m_c, m_root), nullptr);
        if (!tree)
            return found;
        const xcb_window_t *children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            xcb_get_window_attributes_reply_t *a =
                xcb_get_window_attributes_reply(m_c, xcb_get_window_attributes(m_c, children[i]), nullptr);
            if (a && a->map_state == XCB_MAP_STATE_VIEWABLE)
                found.push_back(children[i]);
            std::free(a);
        }
        std::free(tree);
        return found;
    }
    std::string titleOf(xcb_window_t w)
    {
        xcb_get_property_reply_t *p = xcb_get_property_reply(
            m_c, xcb_get_property(m_c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
        std::string title;
        if (p)
            title.assign(static_cast<const char *>(xcb_get_property_value(p)), size_t(xcb_get_property_value_length(p)));
        std::free(p);
        return title;
    }
    Rect geometry(xcb_window_t w)
    {
        xcb_get_geometry_reply_t *g = xcb_get_geometry_reply(m_c, xcb_get_geometry(m_c, w), nullptr);
        Rect r;
        if (g)
            r = {g->x, g->y, g->width, g->height};
        std::free(g);
        return r;
    }
    xcb_keycode_t keycodeOf(uint32_t keysym)
    {
        const xcb_setup_t *setup = xcb_get_setup(m_c);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        xcb_get_keyboard_mapping_reply_t *map = xcb_get_keyboard_mapping_reply(
            m_c, xcb_get_keyboard_mapping(m_c, setup->min_keycode, uint8_t(count)), nullptr);
        xcb_keycode_t code = 0;
        if (map) {
            const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(map);
            for (int k = 0; k < count && !code; ++k)
                if (syms[k * map->keysyms_per_keycode] == keysym)
                    code = xcb_keycode_t(setup->min_keycode + k);
            std::free(map);
        }
        return code;
    }

    xcb_connection_t *m_c;
    xcb_screen_t *m_screen;
    xcb_window_t m_root;
};

constexpr uint32_t KeyO = 0x6f;
constexpr uint32_t KeyU = 0x75;
constexpr uint32_t KeyBackSpace = 0xff08;
constexpr uint32_t KeyReturn = 0xff0d;

// The rectangle (in screen coordinates) where two grabs of r differ; w = 0
// when they do not.
Rect changedRect(const Rect &r, const std::vector<uint8_t> &a, const std::vector<uint8_t> &b)
{
    if (a.size() != b.size() || a.size() < size_t(r.w) * size_t(r.h) * 4)
        return r;
    int x0 = r.w, y0 = r.h, x1 = -1, y1 = -1;
    const uint32_t *pa = reinterpret_cast<const uint32_t *>(a.data());
    const uint32_t *pb = reinterpret_cast<const uint32_t *>(b.data());
    for (int y = 0; y < r.h; ++y) {
        const size_t row = size_t(y) * size_t(r.w);
        if (std::memcmp(pa + row, pb + row, size_t(r.w) * 4) == 0)
            continue;
        y0 = std::min(y0, y), y1 = y;
        for (int x = 0; x < r.w; ++x)
            if (pa[row + size_t(x)] != pb[row + size_t(x)])
                x0 = std::min(x0, x), x1 = std::max(x1, x);
    }
    if (x1 < 0)
        return {};
    return {r.x + x0, r.y + y0, x1 - x0 + 1, y1 - y0 + 1};
}

bool intersects(const Rect &a, const Rect &b)
{
    return a.w > 0 && b.w > 0 && a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// The screen is read every PollMs or so: reading it costs the X server and
// this process a few milliseconds each time, taken from the program on a
// machine of two processors.
constexpr int PollMs = 8;

// Reads the region until the part `awaited` changes (the whole region when
// empty), then until nothing changes for SettleMs; the time from t0 to the
// last change seen (the time its reading came back). Nothing awaited seen
// within LimitMs: -1. TESSAVO_BENCH_TRACE set: each change is told.
double lastChange(Display &x, const Rect &region, const std::vector<Rect> &masks, Clock::time_point t0,
                  std::vector<uint8_t> before, Rect awaited = {})
{
    if (awaited.w == 0)
        awaited = region;
    Clock::time_point last = t0;
    bool seenAwaited = false;
    for (;;) {
        std::vector<uint8_t> now = x.grab(region, masks);
        const Clock::time_point seen = Clock::now();
        if (now != before) {
            const Rect changed = changedRect(region, before, now);
            if (std::getenv("TESSAVO_BENCH_TRACE"))
                std::fprintf(stderr, "  %.0f ms: %d,%d %dx%d\n", msSince(t0, seen), changed.x, changed.y, changed.w,
                             changed.h);
            seenAwaited = seenAwaited || intersects(changed, awaited);
            last = seen;
            before.swap(now);
        }
        if ((seenAwaited && msSince(last, seen) >= SettleMs) || msSince(t0, seen) >= LimitMs)
            break;
        sleepMs(PollMs);
    }
    return seenAwaited ? msSince(t0, last) : -1.0;
}

// The part of a grab of `whole` that `part` covers (4 bytes a pixel).
std::vector<uint8_t> cropped(const std::vector<uint8_t> &pixels, const Rect &whole, const Rect &part)
{
    std::vector<uint8_t> out;
    const size_t stride = size_t(whole.w) * 4;
    for (int y = part.y; y < part.y + part.h; ++y) {
        const size_t from = size_t(y - whole.y) * stride + size_t(part.x - whole.x) * 4;
        out.insert(out.end(), pixels.begin() + qsizetype(from), pixels.begin() + qsizetype(from + size_t(part.w) * 4));
    }
    return out;
}

// Waits until a window of that title is viewable (or limitMs).
std::optional<Rect> waitWindow(Display &x, const std::string &title, int limitMs = LimitMs)
{
    const Clock::time_point t0 = Clock::now();
    while (msSince(t0, Clock::now()) < limitMs) {
        if (const std::optional<Rect> r = x.window(title))
            return r;
        sleepMs(10);
    }
    return std::nullopt;
}

// Waits until the region stays unchanged for SettleMs.
void settle(Display &x, const Rect &region, const std::vector<Rect> &masks = {})
{
    std::vector<uint8_t> before = x.grab(region, masks);
    Clock::time_point last = Clock::now();
    while (msSince(last, Clock::now()) < SettleMs) {
        sleepMs(PollMs);
        std::vector<uint8_t> now = x.grab(region, masks);
        if (now != before) {
            last = Clock::now();
            before.swap(now);
        }
    }
}

// --- The working folder -----------------------------------------------------

void copyFolder(const QString &from, const QString &to)
{
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
    }
}

// A working folder with one class, one student and one document saved as the
// import screen saves it.
void prepare(const QString &folder, const QString &title, const QStringList &text, const QString &card)
{
    const QString reserve = folder + u"/reserve"_s;
    copyFolder(QStringLiteral(TESSAVO_SOURCE_DIR "/reserve"), reserve);
    for (const QString &page : {u"travaux.html"_s, u"A_lire_une_Fois.htm"_s})
        QFile::copy(QStringLiteral(TESSAVO_SOURCE_DIR "/") + page, folder + u'/' + page);
    workspace::writeLines(folder + u"/ecole.txt"_s, {u"EVRY"_s, u"JAURES"_s, u"CM1"_s});
    const QString students = folder + u"/EVRY_JAURES_CM1/lecteurs"_s;
    const QString student = students + u"/Dupont_Jean_jean@ecole.fr/"_s;
    QDir().mkpath(student);
    workspace::writeLines(students + u"/ListeLecteurs.txt"_s, {u"Dupont;Jean;CM1;jean@ecole.fr"_s});
    workspace::copyTextLines(reserve + u"/style.css"_s, student + u"style.css"_s);
    QFile::copy(reserve + u"/fond.jpg"_s, student + u"fond.jpg"_s);
    // A host that the bench never reaches: no local publishing host is started.
    workspace::writeLines(folder + u"/publication.ini"_s,
                          {u"[publication]"_s, u"hote=192.0.2.1"_s, u"port=21"_s, u"utilisateur=banc"_s,
                           u"mot_de_passe=banc"_s, u"adresse_web=http://192.0.2.1/"_s});
    workspace::writeLines(student + u"entendu.ini"_s, {u"entendu=non"_s});
    QFile::copy(reserve + u"/Cartes/"_s + card, student + card);
    const import::DocumentNames names = import::documentNames(student + title);
    import::saveNewDocument(names, {student + card, true}, import::BoxLines(text), student, reserve + u'/');
}

struct Document
{
    QString name;   // as the report calls it
    QString folder; // its working folder
};

// Two working folders under root: a 20 KB document, a 1,200-word one.
std::vector<Document> prepare(const QString &root)
{
    const std::vector<Document> documents{{u"20 Ko"_s, root + u"/Tessavo banc 20 Ko"_s},
                                          {u"1 200 mots"_s, root + u"/Tessavo banc 1200 mots"_s}};
    prepare(documents[0].folder, u"la sortie 20 Ko.html"_s, benchtext::textLines(-1, 20000), u"bateau.jpg"_s);
    prepare(documents[1].folder, u"la sortie 1200 mots.html"_s, benchtext::textLines(1200), u"etoile.jpg"_s);
    return documents;
}

// --- The program, driven ----------------------------------------------------

class Program
{
public:
    Program(const std::string &path, const QString &folder = {})
    {
        std::vector<std::string> env;
        for (char **e = environ; *e; ++e)
            if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
                env.emplace_back(*e);
        env.emplace_back("QT_QPA_PLATFORM=xcb");
        std::vector<char *> envp;
        for (std::string &e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        const std::string dir = QFile::encodeName(folder).toStdString();
        std::vector<char *> argv{const_cast<char *>(path.c_str())};
        if (!dir.empty())
            argv.push_back(const_cast<char *>(dir.c_str()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&m_pid, path.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
            std::fprintf(stderr, "Impossible de lancer %s\n", path.c_str());
            std::exit(2);
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Program()
    {
        // Ended as the system ends it, and killed if it lingers.
        kill(m_pid, SIGTERM);
        for (int waited = 0; waited < 3000; waited += 20) {
            if (waitpid(m_pid, nullptr, WNOHANG) == m_pid)
                return;
            sleepMs(20);
        }
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }

private:
    pid_t m_pid = 0;
};

// The samples of one action, in milliseconds.
using Samples = std::map<std::string, std::vector<double>>;

struct Layout
{
    Rect window;
    float h = 1, v = 1;
    // The centre of a control given at its designed place, as the screen scales it.
    std::pair<int, int> at(int x, int y, int w, int hh) const
    {
        const int sx = int(std::lround(x * h)), sy = int(std::lround(y * v));
        const int sw = int(std::lround(w * v)), sh = int(std::lround(hh * v));
        return {window.x + sx + sw / 2, window.y + sy + sh / 2};
    }
    Rect rect(int x, int y, int w, int hh) const
    {
        return {window.x + int(std::lround(x * h)), window.y + int(std::lround(y * v)), int(std::lround(w * v)),
                int(std::lround(hh * v))};
    }
    // The page: the web view, above the document's path.
    Rect page() const { return {window.x, window.y, window.w, int(std::lround(745 * v))}; }
    // The edit fields, whose caret blinks when one has the focus: left out
    // of the comparisons (what they show changes at once, before the page).
    std::vector<Rect> fields() const
    {
        return {rect(61, 885, 32, 30), rect(162, 885, 32, 30), rect(259, 885, 31, 30), rect(416, 936, 100, 22),
                rect(368, 886, 40, 22)};
    }
};

// One press somewhere, timed: the pointer is brought there first and left to
// settle, and leaves for a spot without tooltip once the click is sent.
double timedClick(Display &x, const Layout &l, std::pair<int, int> where, const std::vector<Rect> &masks)
{
    x.moveTo(where.first, where.second);
    x.sync();
    settle(x, l.window, masks);
    const std::vector<uint8_t> before = x.grab(l.window, masks);
    const Clock::time_point t0 = Clock::now();
    x.click();
    x.moveTo(l.window.x + l.window.w - 5, l.window.y + l.window.h - 5);
    return lastChange(x, l.window, masks, t0, before, l.page());
}

// With TESSAVO_BENCH_TRACE set, the screen as a PPM picture in that folder.
void trace(Display &x, const char *name)
{
    const char *folder = std::getenv("TESSAVO_BENCH_TRACE");
    if (!folder)
        return;
    const Rect screen{0, 0, x.width(), x.height()};
    const std::vector<uint8_t> pixels = x.grab(screen);
    FILE *f = std::fopen((std::string(folder) + '/' + name + ".ppm").c_str(), "wb");
    std::fprintf(f, "P6 %d %d 255\n", screen.w, screen.h);
    for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
        const uint8_t rgb[3] = {pixels[i + 2], pixels[i + 1], pixels[i]};
        std::fwrite(rgb, 1, 3, f);
    }
    std::fclose(f);
}

double timedKey(Display &x, const Layout &l, uint32_t keysym, const std::vector<Rect> &masks)
{
    settle(x, l.window, masks);
    const std::vector<uint8_t> before = x.grab(l.window, masks);
    const Clock::time_point t0 = Clock::now();
    x.key(keysym);
    return lastChange(x, l.window, masks, t0, before, l.page());
}

void clickAt(Display &x, int px, int py)
{
    x.moveTo(px, py);
    x.sync();
    sleepMs(50);
    x.click();
    x.sync();
}

// Student screen -> import screen -> the document -> the layout screen, whose
// opening is timed: from the press on the layout button to the message
// "Version beta" settled, and from its closing to the layout screen settled.
std::optional<Layout> openLayout(Display &x, double &opening)
{
    const std::optional<Rect> students = waitWindow(x, "Tessavo - \xC3\x89l\xC3\xA8ves");
    if (!students)
        return std::nullopt;
    settle(x, *students);
    // The first student of the list, then "Suite -> Importer du texte".
    clickAt(x, students->x + 16 + 100, students->y + 90 + 15);
    settle(x, *students);
    clickAt(x, students->x + 580 + 165, students->y + 340 + 18);
    const std::optional<Rect> import = waitWindow(x, "Tessavo - Importer un texte");
    if (!import)
        return std::nullopt;
    settle(x, *import);
    const double f = import->w / 1366.0;
    // The document, first in the list of texts.
    clickAt(x, import->x + int((1069 + 140) * f), import->y + int((212 + 24 + 25) * f));
    settle(x, *import);
    // A teacher looks at the text a moment before going on.
    sleepMs(2500);
    // " 3->Faire la Mise en Page Dys".
    const Rect screen{0, 0, x.width(), x.height()};
    x.moveTo(import->x + int((760 + 295) * f), import->y + int((92 + 20) * f));
    x.sync();
    settle(x, screen);
    std::vector<uint8_t> before = x.grab(screen);
    Clock::time_point t0 = Clock::now();
    x.click();
    std::optional<Rect> message = waitWindow(x, "Tessavo");
    if (!message)
        return std::nullopt;
    // The text box of the import screen has its caret blinking: the message
    // alone is looked at, from what its place showed before.
    const double toMessage = lastChange(x, *message, {}, t0, cropped(before, screen, *message));
    x.moveTo(message->cx(), message->cy());
    x.sync();
    settle(x, *message);
    before = x.grab(screen);
    t0 = Clock::now();
    x.key(KeyReturn);
    const std::optional<Rect> form = waitWindow(x, "Tessavo - Mise en page");
    if (!form)
        return std::nullopt;
    x.moveTo(form->x + form->w - 5, form->y + form->h - 5);
    Layout l{*form, float(form->w) / 1366.0f, float(form->h) / 1100.0f};
    // The layout screen shown: its page where the import screen was not (the
    // message's closing changes the import screen first).
    const Rect uncovered{0, 0, std::max(1, import->x), l.page().h};
    const double toScreen = lastChange(x, screen, l.fields(), t0, before, import->x > 0 ? uncovered : l.page());
    opening = toMessage + toScreen;
    return l;
}

// The actions of the layout screen, each `repeats` times (the sound field's
// alone when soundOnly).
void actions(Display &x, const Layout &l, int repeats, Samples &samples, bool soundOnly)
{
    const std::vector<Rect> masks = l.fields();
    const auto press = [&](const char *name, int cx, int cy, int cw, int ch) {
        if (std::getenv("TESSAVO_BENCH_TRACE"))
            std::fprintf(stderr, "%s\n", name);
        samples[name].push_back(timedClick(x, l, l.at(cx, cy, cw, ch), masks));
    };
    for (int r = 0; r < repeats; ++r) {
        if (soundOnly)
            goto sound;
        press("+Taille", 3, 850, 56, 50);
        press("- Taille", 3, 900, 56, 49);
        press("Syllabes en couleurs : oui", 416, 834, 198, 18);
        press("Syllabes en couleurs : non", 416, 834, 198, 18);
        press("Syllabes tirets : oui", 416, 874, 198, 19);
        press("Syllabes tirets : non", 416, 874, 198, 19);
        press("Lettres muettes : oui", 416, 894, 198, 19);
        press("Lettres muettes : non", 416, 894, 198, 19);
        press("Phrases en couleurs : oui", 416, 853, 198, 20);
        press("Phrases en couleurs : non", 416, 853, 198, 20);
    sound:
        // The sound field: "o" typed, then taken back, by letters then by ear.
        for (const bool byEar : {false, true}) {
            if (byEar)
                clickAt(x, l.at(990, 834, 300, 22).first, l.at(990, 834, 300, 22).second);
            const auto field = l.at(416, 936, 100, 22);
            clickAt(x, field.first, field.second);
            x.moveTo(l.window.x + l.window.w - 5, l.window.y + l.window.h - 5);
            samples[byEar ? "Son « o », à l'oreille" : "Son « o », par les lettres"].push_back(
                timedKey(x, l, KeyO, masks));
            trace(x, byEar ? "son-oreille" : "son-lettres");
            samples[byEar ? "Son effacé, à l'oreille" : "Son effacé, par les lettres"].push_back(
                timedKey(x, l, KeyBackSpace, masks));
            if (byEar)
                clickAt(x, l.at(990, 834, 300, 22).first, l.at(990, 834, 300, 22).second);
        }
        // "ou" typed as a teacher types it: the second letter comes while
        // the first one is being marked.
        const auto field = l.at(416, 936, 100, 22);
        clickAt(x, field.first, field.second);
        x.moveTo(l.window.x + l.window.w - 5, l.window.y + l.window.h - 5);
        settle(x, l.window, masks);
        std::vector<uint8_t> before = x.grab(l.window, masks);
        Clock::time_point t0 = Clock::now();
        x.key(KeyO);
        sleepMs(60);
        x.key(KeyU);
        samples["Son « ou » tapé d'un trait"].push_back(lastChange(x, l.window, masks, t0, before, l.page()));
        trace(x, "son-ou");
        settle(x, l.window, masks);
        before = x.grab(l.window, masks);
        t0 = Clock::now();
        x.key(KeyBackSpace);
        x.key(KeyBackSpace);
        samples["Son « ou » effacé d'un trait"].push_back(lastChange(x, l.window, masks, t0, before, l.page()));
    }
}

// From the spawn of a process to the last changed pixel of the screen, once
// its window of that title is up (-1 when it never came).
double timedStart(Display &x, const std::string &path, const QString &folder, const std::string &title)
{
    const Rect screen{0, 0, x.width(), x.height()};
    settle(x, screen);
    const std::vector<uint8_t> before = x.grab(screen);
    const Clock::time_point t0 = Clock::now();
    Program started(path, folder);
    const std::optional<Rect> window = waitWindow(x, title);
    if (!window)
        return -1;
    return lastChange(x, screen, {}, t0, before, *window);
}

double percentile(std::vector<double> v, double p);

// The program's start against the empty window's, alternated.
void starts(Display &x, const std::string &program, const std::string &empty, const QString &folder, int pairs)
{
    std::vector<double> own, yardstick, ratios;
    for (int i = 0; i <= pairs; ++i) {
        const double p = timedStart(x, program, folder, "Tessavo - \xC3\x89l\xC3\xA8ves");
        const double e = timedStart(x, empty, {}, "Vide");
        if (i == 0 || p < 0 || e < 0)
            continue; // the warm-up, or a window that never came
        own.push_back(p), yardstick.push_back(e), ratios.push_back(p / e);
        if (std::getenv("TESSAVO_BENCH_TRACE"))
            std::fprintf(stderr, "  tessavo %.0f ms, vide %.0f ms\n", p, e);
    }
    const auto line = [](const char *name, const std::vector<double> &v, const char *unit) {
        if (v.empty())
            return;
        std::printf("| %s | %zu | %.*f%s | %.*f%s | %.*f%s | %.*f%s |\n", name, v.size(), *unit ? 0 : 2,
                    percentile(v, 0.5), unit, *unit ? 0 : 2, percentile(v, 0.9), unit, *unit ? 0 : 2,
                    *std::min_element(v.begin(), v.end()), unit, *unit ? 0 : 2,
                    *std::max_element(v.begin(), v.end()), unit);
    };
    std::printf("\nDémarrage, du lancement au dernier pixel changé :\n| Programme | n | Médiane | 90e centile | Min | "
                "Max |\n|---|---|---|---|---|---|\n");
    line("tessavo (écran des élèves)", own, " ms");
    line("fenêtre Qt Widgets vide", yardstick, " ms");
    line("rapport, paire par paire", ratios, "");
    std::fflush(stdout);
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    if (v.empty())
        return 0;
    // The nearest rank.
    const size_t rank = size_t(std::ceil(p * double(v.size())));
    return v[std::clamp<size_t>(rank, 1, v.size()) - 1];
}

std::string uptime()
{
    FILE *f = std::fopen("/proc/loadavg", "r");
    char buffer[64] = {};
    if (f) {
        if (!std::fgets(buffer, sizeof buffer, f))
            buffer[0] = 0;
        std::fclose(f);
    }
    std::string s(buffer);
    return s.substr(0, s.find(' ', s.find(' ', s.find(' ') + 1) + 1));
}

// N processes that spin, as a compile keeps the processors busy.
std::vector<pid_t> startLoad(int n)
{
    std::vector<pid_t> loops;
    for (int i = 0; i < n; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            volatile unsigned long spin = 0;
            for (;;)
                spin = spin + 1;
        }
        loops.push_back(pid);
    }
    return loops;
}

// One table: each action's count, median, 90th percentile, extremes.
void report(const std::string &title, const Samples &samples)
{
    std::printf("\n%s :\n| Action | n | Médiane | 90e centile | Min | Max |\n|---|---|---|---|---|---|\n",
                title.c_str());
    for (const auto &[name, all] : samples) {
        std::vector<double> values;
        std::copy_if(all.begin(), all.end(), std::back_inserter(values), [](double v) { return v >= 0; });
        if (values.empty()) {
            std::printf("| %s | 0 | rien n'a changé à l'écran | | | |\n", name.c_str());
            continue;
        }
        const size_t unchanged = all.size() - values.size();
        std::printf("| %s | %zu%s | %.0f ms | %.0f ms | %.0f ms | %.0f ms |\n", name.c_str(), values.size(),
                    unchanged ? (" (+" + std::to_string(unchanged) + " sans changement)").c_str() : "",
                    percentile(values, 0.5), percentile(values, 0.9), *std::min_element(values.begin(), values.end()),
                    *std::max_element(values.begin(), values.end()));
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    int runs = 3, repeats = 4, load = 0;
    bool startOnly = false, soundOnly = false;
    std::vector<int> numbers;
    // The program measured, and another one to compare with, started in turn.
    std::vector<std::pair<std::string, std::string>> programs{
        {"tessavo",
         QFile::encodeName(QCoreApplication::applicationDirPath() + u"/../src/app/tessavo"_s).toStdString()}};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--charge") == 0 && i + 1 < argc)
            load = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--comparer") == 0 && i + 1 < argc)
            programs.emplace_back(argv[i + 1], argv[i + 1]), ++i;
        else if (std::strcmp(argv[i], "preparer") == 0 && i + 1 < argc) {
            for (const Document &d : prepare(QString::fromLocal8Bit(argv[i + 1])))
                std::printf("%s\n", QFile::encodeName(d.folder).constData());
            return 0;
        } else if (std::strcmp(argv[i], "demarrage") == 0)
            startOnly = true;
        else if (std::strcmp(argv[i], "son") == 0)
            soundOnly = true;
        else
            numbers.push_back(std::atoi(argv[i]));
    }
    if (!numbers.empty())
        runs = std::max(1, numbers[0]);
    if (numbers.size() > 1)
        repeats = std::max(1, numbers[1]);

    Display x;
    QTemporaryDir root;
    const std::vector<Document> documents = prepare(root.path());
    const std::vector<pid_t> loops = startLoad(load);
    std::printf("Écran %dx%d, %d démarrages x %d répétitions, %d boucles de charge ; charge au début : %s\n",
                x.width(), x.height(), runs, repeats, load, uptime().c_str());
    std::fflush(stdout);

    if (startOnly) {
        const std::string empty =
            QFile::encodeName(QCoreApplication::applicationDirPath() + u"/tessavo_bench_empty"_s).toStdString();
        starts(x, programs[0].second, empty, documents[1].folder, numbers.empty() ? 10 : runs);
        for (const pid_t pid : loops) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        std::printf("\nCharge à la fin : %s\n", uptime().c_str());
        return 0;
    }

    for (const Document &document : documents) {
        std::vector<Samples> samples(programs.size());
        for (int run = 0; run < runs; ++run) {
            for (size_t p = 0; p < programs.size(); ++p) {
                Program tessavo(programs[p].second, document.folder);
                double opening = 0;
                const std::optional<Layout> layout = openLayout(x, opening);
                if (!layout) {
                    std::fputs("L'écran de mise en page ne s'est pas ouvert ; fenêtres :", stderr);
                    for (const std::string &t : x.titles())
                        std::fprintf(stderr, " « %s »", t.c_str());
                    std::fputs("\n", stderr);
                    return 1;
                }
                samples[p]["Ouverture de la mise en page"].push_back(opening);
                actions(x, *layout, repeats, samples[p], soundOnly);
            }
        }
        for (size_t p = 0; p < programs.size(); ++p)
            report("Document " + document.name.toStdString() + ", " + programs[p].first + " (charge : " + uptime() + ")",
                   samples[p]);
    }
    for (const pid_t pid : loops) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    std::printf("\nCharge à la fin : %s\n", uptime().c_str());
    return 0;
}
