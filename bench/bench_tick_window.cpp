// SPDX-License-Identifier: GPL-3.0-or-later
// One clock tick on the real main window: the window is built by the Qt
// toolkit from its description, with the real handlers, and the tick runs
// through the timer handler against a clock that steps through chosen
// readings, one per tick.
//
// What one iteration includes: the handler's tick (every element written,
// the toolkit dropping writes that change nothing and marking changed
// widgets dirty) plus QCoreApplication::processEvents(), which runs the
// pending update request: painting the dirty widgets into the backing store
// and flushing it to the platform window. The window's own 100 ms timer is
// stopped, so only the benchmark ticks. Runs on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise (e.g. xcb under Xvfb).

#include "bench_support.h"
#include "qttoolkit.h"
#include "readouts.h"
#include "ruzozura.h"
#include "ruzozura_keys.h"
#include "ruzozura_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{

using namespace tessaro;

LocalDateTime at(int day, int month, int year, int hour, int minute, int second)
{
    return {std::int16_t(day),  std::int16_t(month),  std::int16_t(year),
            std::int16_t(hour), std::int16_t(minute), std::int16_t(second)};
}

// Counts paint events anywhere in the application while it exists.
class PaintCounter final : public QObject
{
public:
    PaintCounter() { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    PaintCounter(const PaintCounter &) = delete;
    PaintCounter &operator=(const PaintCounter &) = delete;
    [[nodiscard]] int paints() const { return m_paints; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_paints;
        return false;
    }

private:
    int m_paints = 0;
};

// The main window with its real handlers, shown, its own timer stopped.
class RealWindow
{
public:
    RealWindow()
        : m_handlers(m_toolkit, m_clock, {}), m_window(m_toolkit.load(ruzozuraWindow(), m_handlers))
    {
        m_window.show();
        m_form = qt::QtToolkit::widgetOf(m_window);
        for (QTimer *timer : m_form->findChildren<QTimer *>())
            timer->stop();
        waitUntilExposed();
    }

    Window &window() { return m_window; }
    Ruzozura &handlers() { return m_handlers; }

    // The next reading, then the tick as the window's timer runs it.
    void tick()
    {
        m_clock.step();
        m_handlers.onTimer(m_window, ruzozura::Timer1);
    }
    static void repaint() { QCoreApplication::processEvents(); }

    // Plays the readings and ticks through them twice, so the window starts
    // the measurement in the state the scenario keeps returning to.
    void settle(const std::vector<LocalDateTime> &readings)
    {
        m_clock.play(readings);
        for (std::size_t i = 0; i < 2 * readings.size(); ++i) {
            tick();
            repaint();
        }
    }

private:
    void waitUntilExposed()
    {
        QElapsedTimer waited;
        waited.start();
        while (!(m_form->windowHandle() && m_form->windowHandle()->isExposed()) &&
               waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        repaint();
    }

    bench::SteppedClock m_clock{{at(6, 12, 2026, 12, 34, 56)}};
    qt::QtToolkit m_toolkit;
    Ruzozura m_handlers;
    Window &m_window;
    QWidget *m_form = nullptr;
};

RealWindow *realWindow = nullptr;

struct Scenario {
    std::string name;
    std::vector<LocalDateTime> readings;
};

// Each scenario replays its readings in a loop, so every tick changes what
// its name says: nothing, the second, or everything a rollover changes (the
// rollovers alternate between the last and the first second of their span).
std::vector<Scenario> scenarios()
{
    std::vector<LocalDateTime> seconds;
    for (int second = 1; second <= 58; ++second)
        seconds.push_back(at(6, 12, 2026, 12, 34, second));
    return {
        {"nothingChanged", {at(6, 12, 2026, 12, 34, 56)}},
        {"secondChanged", seconds},
        {"minuteRollover", {at(6, 12, 2026, 12, 34, 59), at(6, 12, 2026, 12, 35, 0)}},
        {"hourRollover", {at(6, 12, 2026, 12, 59, 59), at(6, 12, 2026, 13, 0, 0)}},
        {"dayRollover", {at(6, 12, 2026, 23, 59, 59), at(7, 12, 2026, 0, 0, 0)}},
        {"yearRollover", {at(31, 12, 2026, 23, 59, 59), at(1, 1, 2027, 0, 0, 0)}},
        {"sevenCellYearSwitch", {at(31, 12, 2047, 23, 59, 59), at(1, 1, 2048, 0, 0, 0)}},
    };
}

// Paint events per tick, counted outside the timed loop.
double paintsPerTick(const Scenario &scenario)
{
    realWindow->settle(scenario.readings);
    const int ticks = int(2 * scenario.readings.size());
    PaintCounter counter;
    for (int i = 0; i < ticks; ++i) {
        realWindow->tick();
        RealWindow::repaint();
    }
    return double(counter.paints()) / ticks;
}

void tickAndRepaint(benchmark::State &state, const Scenario &scenario)
{
    const double paints = paintsPerTick(scenario);
    realWindow->settle(scenario.readings);
    for (auto _ : state) {
        realWindow->tick();
        RealWindow::repaint();
    }
    state.counters["paintsPerTick"] = paints;
}

// The tick's element writes alone; the repaint runs with the clock stopped.
void tickWritesOnly(benchmark::State &state, const Scenario &scenario)
{
    realWindow->settle(scenario.readings);
    for (auto _ : state) {
        realWindow->tick();
        state.PauseTiming();
        RealWindow::repaint();
        state.ResumeTiming();
    }
}

// A colour button between every two ticks: every lit cell takes the new
// colour at the next tick.
void tickAfterColourChange(benchmark::State &state)
{
    realWindow->settle({at(6, 12, 2026, 12, 34, 56)});
    bool red = false;
    for (auto _ : state) {
        red = !red;
        realWindow->handlers().onClick(realWindow->window(),
                                       red ? ruzozura::Command3 : ruzozura::Command4);
        realWindow->tick();
        RealWindow::repaint();
    }
}

// The seconds row alone, painted with a new value each time, plus repaint.
void paintSecondsRow(benchmark::State &state)
{
    const clock::CellColours colours{0xC00000, 0x80FF80};
    int second = 0;
    for (auto _ : state) {
        second = (second + 1) % 60;
        clock::PaintBitRow(second, ruzozuraClockLayout().seconds.row.cells, realWindow->window(),
                           colours);
        RealWindow::repaint();
    }
}

// The hexadecimal section of the seconds alone, a new value each time, plus repaint.
void secondsHexSection(benchmark::State &state)
{
    int second = 0;
    for (auto _ : state) {
        second = (second + 1) % 60;
        clock::writeHexSection(second, ruzozuraClockLayout().seconds.hex, realWindow->window());
        RealWindow::repaint();
    }
}

void registerBenchmarks()
{
    static const std::vector<Scenario> all = scenarios();
    for (const Scenario &scenario : all)
        benchmark::RegisterBenchmark(("realWindowTick/" + scenario.name).c_str(), tickAndRepaint,
                                     scenario);
    for (const Scenario &scenario : all)
        benchmark::RegisterBenchmark(("realWindowTickWritesOnly/" + scenario.name).c_str(),
                                     tickWritesOnly, scenario);
    benchmark::RegisterBenchmark("realWindowTick/litColourChanged", tickAfterColourChange);
    benchmark::RegisterBenchmark("realWindowPaintBitRow/seconds", paintSecondsRow);
    benchmark::RegisterBenchmark("realWindowHexSection/seconds", secondsHexSection);
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    RealWindow window;
    realWindow = &window;

    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    realWindow = nullptr;
    return EXIT_SUCCESS;
}
