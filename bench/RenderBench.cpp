// Frame rendering benchmark. Renders seeded frames of fixed workloads and
// prints the median milliseconds per frame beside references measured in the
// same run: the floor (one full-frame fill) and the toolkit painter (QPainter
// drawing the same frame's polygons with the same colours and pens, and once
// more without the pens).

#include "engine/Random.h"
#include "engine/Raster.h"
#include "engine/Renderer.h"
#include "engine/Scene.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace lumivane;

namespace {

constexpr int WARM_UP_FRAMES = 40;

int samplesPerCase() {
    const char* env = std::getenv("LUMIVANE_BENCH_SAMPLES");
    return env ? std::max(3, std::atoi(env)) : 21;
}

struct Workload {
    const char* name;
    Pattern pattern;
};

Pattern densePattern(ScreenShape shape) {
    Pattern p;
    for (int& a : p.amount)
        a = 100;
    p.symmetry = 20;
    p.screenShape = shape;
    p.imageSize = 100;
    return p;
}

std::vector<Workload> workloads() {
    return {{"default", Pattern{}},
            {"dense circle", densePattern(SCREEN_CIRCLE)},
            {"dense three mirror", densePattern(SCREEN_THREE_MIRROR)},
            {"dense rectangle", densePattern(SCREEN_RECTANGLE)}};
}

double elapsedMs(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double median(std::vector<double>& ms) {
    std::nth_element(ms.begin(), ms.begin() + ms.size() / 2, ms.end());
    return ms[ms.size() / 2];
}

template <typename F> double medianMs(int samples, F&& work) {
    std::vector<double> ms;
    for (int i = 0; i < samples; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        ms.push_back(elapsedMs(start));
    }
    return median(ms);
}

// Medians of two workloads whose samples alternate (and take turns going first), so
// that both see the same caches, clock and neighbours on a shared machine.
template <typename A, typename B>
std::pair<double, double> interleavedMedianMs(int samples, A&& first, B&& second) {
    std::vector<double> a;
    std::vector<double> b;
    auto time = [](auto& work, std::vector<double>& into) {
        const auto start = std::chrono::steady_clock::now();
        work();
        into.push_back(elapsedMs(start));
    };
    for (int i = 0; i < samples; ++i) {
        if (i % 2 == 0) {
            time(first, a);
            time(second, b);
        } else {
            time(second, b);
            time(first, a);
        }
    }
    return {median(a), median(b)};
}

struct Frame {
    QImage image;
    Surface surface;
    Frame(int w, int h) : image(w, h, QImage::Format_RGB32) {
        surface = Surface{reinterpret_cast<std::uint32_t*>(image.bits()), w, h,
                          static_cast<int>(image.bytesPerLine() / 4)};
    }
};

// Keeps one frame's polygons as the toolkit painter takes them.
class PainterRecording : public PolygonRecorder {
  public:
    struct Item {
        QPolygon points;
        QColor brush;
        QColor pen;
        std::vector<IntPoint> raw;
        std::uint32_t rawBrush, rawPen;
    };
    void polygon(const IntPoint* p, int n, std::uint32_t brush, std::uint32_t pen) override {
        QPolygon poly(n);
        for (int i = 0; i < n; ++i)
            poly.setPoint(i, p[i].x, p[i].y);
        items.push_back({poly, QColor::fromRgb(brush), QColor::fromRgb(pen),
                         std::vector<IntPoint>(p, p + n), brush, pen});
    }
    std::vector<Item> items;
};

void paintWithQPainter(QImage& image, QColor background, const PainterRecording& recording,
                       bool withPens) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(image.rect(), background);
    QPen pen;
    pen.setWidth(1);
    pen.setCosmetic(true);
    if (!withPens)
        painter.setPen(Qt::NoPen);
    for (const auto& item : recording.items) {
        if (withPens) {
            pen.setColor(item.pen);
            painter.setPen(pen);
        }
        painter.setBrush(item.brush);
        painter.drawPolygon(item.points, Qt::OddEvenFill);
    }
}

// The same polygons through our raster layer.
void paintWithRaster(Surface& surface, std::uint32_t background,
                     const PainterRecording& recording) {
    fillRect(surface, 0, 0, surface.width, surface.height, background);
    for (const auto& item : recording.items)
        drawPolygon(surface, item.raw.data(), static_cast<int>(item.raw.size()), item.rawBrush,
                    item.rawPen);
}

struct Row {
    std::string workload;
    int width, height;
    bool antiAlias;
    int polygons;
    double frame, floor, painter, painterFill, replay;
};

std::unique_ptr<Scene> warmScene(const Workload& w, int width, int height, bool antiAlias,
                                 Frame& frame) {
    sharedRandom().seed(20261208);
    auto scene = std::make_unique<Scene>();
    scene->setViewport(0, 0, width, height);
    scene->loadPattern(w.pattern, false);
    for (int i = 0; i < WARM_UP_FRAMES; ++i) {
        scene->rotate(w.pattern.rotation);
        scene->renderFrame(frame.surface, antiAlias);
    }
    return scene;
}

Row measure(const Workload& w, int width, int height, bool antiAlias, int samples) {
    Frame frame(width, height);
    auto scene = warmScene(w, width, height, antiAlias, frame);

    Row row{w.name, width, height, antiAlias, 0, 0, 0, 0, 0, 0};
    row.frame = medianMs(samples, [&] {
        scene->rotate(w.pattern.rotation);
        scene->renderFrame(frame.surface, antiAlias);
    });
    const std::uint32_t background = colourToPixel(scene->background().colour);
    row.floor =
        medianMs(samples, [&] { fillRect(frame.surface, 0, 0, width, height, background); });

    PainterRecording recording;
    scene->rotate(w.pattern.rotation);
    scene->renderFrame(frame.surface, false, &recording);
    row.polygons = static_cast<int>(recording.items.size());
    QImage painted(width, height, QImage::Format_RGB32);
    const QColor bg = QColor::fromRgb(background);
    std::tie(row.painter, row.replay) = interleavedMedianMs(
        samples, [&] { paintWithQPainter(painted, bg, recording, true); },
        [&] { paintWithRaster(frame.surface, background, recording); });
    std::tie(row.painterFill, std::ignore) = interleavedMedianMs(
        samples, [&] { paintWithQPainter(painted, bg, recording, false); },
        [&] { paintWithRaster(frame.surface, background, recording); });
    return row;
}

} // namespace

int main() {
    const int samples = samplesPerCase();
    const int sizes[][2] = {{1920, 1080}, {3840, 2160}};
    std::printf("Median milliseconds per frame (%d samples each).\n", samples);
    std::printf(
        "in order = a whole frame (rotate + update + clip + draw, + edge pass), drawn in order;\n"
        "x floor = that over one full-frame fill; raster = our raster layer drawing the recorded\n"
        "polygons of one frame in order; painter = QPainter drawing the same polygons (aliased,\n"
        "odd-even fill, 1-pixel cosmetic pen, same order); painter fill = the same without\n"
        "pens.\n\n");
    std::printf("| workload | size | anti-alias | polygons | in order ms | x floor | raster ms "
                "| painter ms | painter fill ms |\n");
    std::printf("|---|---|---|---:|---:|---:|---:|---:|---:|\n");
    for (const Workload& w : workloads())
        for (const auto& size : sizes)
            for (bool aa : {false, true}) {
                const Row r = measure(w, size[0], size[1], aa, samples);
                std::printf("| %s | %dx%d | %s | %d | %.2f | %.1f | %.2f | %.2f | %.2f |\n",
                            r.workload.c_str(), r.width, r.height, r.antiAlias ? "on" : "off",
                            r.polygons, r.frame, r.frame / r.floor, r.replay, r.painter,
                            r.painterFill);
                std::fflush(stdout);
            }
    return 0;
}
