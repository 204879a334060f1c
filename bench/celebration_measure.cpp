// Measures a celebration as the game shows it (not a test, not part of the game): the ten
// animators at their designed places on an 800 x 600 page, one of them moved over the card grid,
// fitted to its picture and started.
//
//   celebration_measure timing N   frame changes of animation N against its delays (one loop)
//   celebration_measure cpu N      process CPU time over a 7 s celebration of animation N
//   celebration_measure idle       process CPU time over 7 s with the ten animators idle
//   celebration_measure close N MS closes the window MS ms into a celebration of N; exit 0
#include "animator/gif_animator.h"
#include "art/artwork.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Timestamps every paint with the frame it shows, and counts the frames each composition draws.
class MeasuredAnimator : public animator::TGIFAnimator
{
public:
    using TGIFAnimator::TGIFAnimator;

    struct Paint
    {
        Clock::time_point at;
        int frame;
        int framesDrawn;
        double paintMs;
    };
    std::vector<Paint> paints;

protected:
    void DrawPicture(QPainter& canvas) override
    {
        const Clock::time_point start = Clock::now();
        m_drawn = 0;
        TGIFAnimator::DrawPicture(canvas);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        paints.push_back({ start, FrameIndex(), m_drawn, ms });
    }
    void DrawFrame(QPainter& canvas, gif::TGIFFrame& frame, int index) override
    {
        ++m_drawn;
        TGIFAnimator::DrawFrame(canvas, frame, index);
    }

private:
    int m_drawn = 0;
};

// left, top, width, height of GIFAnimator1 … GIFAnimator10 in the design.
constexpr std::array<std::array<int, 4>, 10> kDesignedPlaces { { { 6, 102, 107, 83 },
    { 8, 192, 105, 97 }, { 8, 304, 105, 97 }, { 8, 408, 105, 97 }, { 256, 8, 137, 65 },
    { 384, 32, 105, 73 }, { 640, 504, 121, 81 }, { 680, 120, 105, 105 }, { 688, 240, 97, 97 },
    { 688, 352, 105, 89 } } };

struct Window
{
    QWidget page;
    std::vector<MeasuredAnimator*> animators;

    Window()
    {
        page.setFixedSize(800, 600);
        // The pictures the game would take for this screen (QT_SCALE_FACTOR chooses).
        const art::Density density = art::DensityFor(page.devicePixelRatio());
        QImage picture = art::background(art::Background::Game, density);
        picture.setDevicePixelRatio(static_cast<int>(density));
        auto* background = new QLabel(&page);
        background->setPixmap(QPixmap::fromImage(picture));
        background->setGeometry(0, 0, 799, 600);
        for (int n = 1; n <= 10; ++n) {
            auto* control = new MeasuredAnimator(&page);
            const auto& place = kDesignedPlaces[std::size_t(n - 1)];
            control->setGeometry(place[0], place[1], place[2], place[3]);
            control->SetAutoSize(false);
            control->SetTransparent(false);
            control->hide();
            control->Image().SetDevicePixelRatio(static_cast<int>(density));
            control->Image().ReadFormData(art::animationData(n, density));
            animators.push_back(control);
        }
        page.show();
    }

    MeasuredAnimator& Celebrate(int n)
    {
        MeasuredAnimator& control = *animators[std::size_t(n - 1)];
        control.move(150, 94);
        control.SetAutoSize(true);
        control.show();
        control.SetAnimate(true);
        return control;
    }
};

// User + system time of this process, in ms, from /proc/self/stat (clock ticks).
double ProcCpuMs()
{
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            utime = std::stol(field);
        if (i == 15)
            stime = std::stol(field);
    }
    return double(utime + stime) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

double RusageCpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    auto ms
        = [](const timeval& t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void RunFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

int Timing(int n)
{
    Window window;
    RunFor(1000);
    MeasuredAnimator& control = window.Celebrate(n);
    gif::TGIFImage& image = control.Image();
    int loopMs = 0;
    for (int i = 0; i < image.Count(); ++i)
        loopMs += std::clamp<int>(image.Frames(i).Delay, 50, 10000);
    control.paints.clear(); // the start shows frame 0
    const Clock::time_point started = Clock::now();
    RunFor(loopMs + 600);
    control.SetAnimate(false);

    // Frame changes: the paints that show a new frame, the start counting as frame 0's.
    std::vector<MeasuredAnimator::Paint> changes { { started, 0, 0, 0 } };
    int shown = changes.front().frame;
    double drawnSum = 0, paintMsSum = 0, paintMsMax = 0;
    for (const auto& paint : control.paints)
        if (paint.frame != shown) {
            changes.push_back(paint);
            shown = paint.frame;
            drawnSum += paint.framesDrawn;
            paintMsSum += paint.paintMs;
            paintMsMax = std::max(paintMsMax, paint.paintMs);
        }
    std::vector<double> deviations;
    std::printf("animation %d: %d frames, one loop %d ms\n", n, image.Count(), loopMs);
    for (std::size_t i = 1; i < changes.size() && int(i) <= image.Count(); ++i) {
        const int previous = changes[i - 1].frame;
        const double expected = std::clamp<int>(image.Frames(previous).Delay, 50, 10000);
        const double actual
            = std::chrono::duration<double, std::milli>(changes[i].at - changes[i - 1].at).count();
        deviations.push_back(std::abs(actual - expected));
        std::printf("  %2d -> %2d  expected %6.1f ms  actual %7.2f ms  drew %d frame(s)\n",
            previous, changes[i].frame, expected, actual, changes[i].framesDrawn);
    }
    if (deviations.empty()) {
        std::printf("no frame changes\n");
        return 1;
    }
    std::vector<double> sorted = deviations;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted.size() % 2
        ? sorted[sorted.size() / 2]
        : (sorted[sorted.size() / 2 - 1] + sorted[sorted.size() / 2]) / 2;
    std::printf("frame changes measured: %zu; |deviation| median %.2f ms, worst %.2f ms\n",
        deviations.size(), median, sorted.back());
    std::printf("frames drawn per advance: %.2f; paint %.2f ms average, %.2f ms worst\n",
        drawnSum / double(changes.size() - 1), paintMsSum / double(changes.size() - 1), paintMsMax);
    return sorted.back() <= 5.0 ? 0 : 2;
}

int Cpu(int n)
{
    Window window;
    RunFor(1500);
    const double proc0 = ProcCpuMs(), rusage0 = RusageCpuMs();
    QElapsedTimer wall;
    wall.start();
    if (n > 0)
        window.Celebrate(n);
    RunFor(7000);
    if (n > 0)
        window.animators[std::size_t(n - 1)]->SetAnimate(false);
    const double proc = ProcCpuMs() - proc0, rusage = RusageCpuMs() - rusage0;
    const double wallMs = double(wall.elapsed());
    std::printf("%s: wall %.0f ms; CPU (user+system) /proc %.0f ms = %.2f %% of one core; "
                "getrusage %.1f ms = %.2f %%\n",
        n > 0 ? ("celebration of animation " + std::to_string(n)).c_str() : "ten idle animators",
        wallMs, proc, 100 * proc / wallMs, rusage, 100 * rusage / wallMs);
    if (n > 0)
        std::printf("frames shown: %zu\n", window.animators[std::size_t(n - 1)]->paints.size());
    return 0;
}

int Close(int n, int ms)
{
    auto window = std::make_unique<Window>();
    RunFor(100);
    window->Celebrate(n);
    QTimer::singleShot(ms, &window->page, &QWidget::close);
    QApplication::exec();
    QElapsedTimer clock;
    clock.start();
    window.reset();
    std::printf("closed after %d ms; destroyed in %lld ms\n", ms, clock.elapsed());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // Pictures reach the X server as the game sends them (src/main/main.cpp): through its socket.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    const int n = argc > 2 ? std::atoi(argv[2]) : 5;
    if (mode == "timing")
        return Timing(n);
    if (mode == "cpu")
        return Cpu(n);
    if (mode == "idle")
        return Cpu(0);
    if (mode == "close")
        return Close(n, argc > 3 ? std::atoi(argv[3]) : 500);
    std::fprintf(stderr, "usage: %s timing N | cpu N | idle | close N MS\n", argv[0]);
    return 2;
}
