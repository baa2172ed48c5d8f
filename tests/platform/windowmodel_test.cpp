// SPDX-License-Identifier: GPL-3.0-or-later
// The window model that every toolkit builds on, on a small window of the
// test's own: geometry at any scale, the element state and what reaches the
// toolkit, creation order, focus, timers, and a window unloaded from inside
// its own handler.
#include "modelwindow.h"

#include <gtest/gtest.h>

#include <deque>
#include <numeric>

namespace tessaro
{
namespace
{

TEST(Geometry, TwipsBecomePixelsAtEveryScale)
{
    // Logical pixels at 96 dpi round to the nearest pixel (144 twips: 9.6).
    for (const auto &[twips, logical] : {std::pair{6105, 407}, {144, 10}, {195, 13}, {-22, -1}})
        EXPECT_EQ(pixels(twips), logical) << twips;
    for (const auto &[dpi, width, cell] : {std::tuple{96, 407, 10}, std::tuple{120, 509, 12},
                                           std::tuple{144, 611, 14}, std::tuple{192, 814, 19}}) {
        EXPECT_EQ(devicePixels(6105, dpi), width) << dpi;
        EXPECT_EQ(devicePixels(144, dpi), cell) << dpi;
    }
}

// Edges rounded one by one: neighbours keep touching and a one-pixel line
// keeps at least one device pixel, at every ratio from 1 to 3.
TEST(Geometry, DeviceEdgesNeitherGapNorVanish)
{
    for (int quarter = 4; quarter <= 12; ++quarter) {
        const double ratio = quarter / 4.0;
        for (int left = 0; left < 8; ++left) {
            const DeviceEdges line = deviceEdges({left, 3, 1, 1}, ratio);
            const DeviceEdges next = deviceEdges({left + 1, 3, 1, 1}, ratio);
            EXPECT_GE(line.right - line.left, 1) << ratio << " at " << left;
            EXPECT_EQ(line.right, next.left) << ratio << " at " << left;
        }
    }
}

constexpr ElementKey title{"title"}, tipped{"tipped"}, line{"line"}, cell{"cell", 0},
    hiddenCell{"cell", 1}, box{"box"}, exitButton{"exit"}, group{"group"}, inGroup{"inGroup"},
    clockTimer{"timer"};

ElementDef element(ElementKind kind, ElementKey key, int stackRank, int tabIndex = -1,
                   std::uint16_t bits = 0)
{
    ElementDef def;
    def.kind = kind;
    def.key = key;
    def.stackRank = stackRank;
    def.tabIndex = tabIndex;
    def.flags = bits;
    def.caption = "0";
    def.intervalMs = 100;
    def.parent = key == inGroup ? group : ElementKey{};
    def.toolTip = key == tipped ? "a tip" : "";
    return def;
}

// Listed in no useful order: the model brings it into one.
const std::vector<ElementDef> elements{
    element(ElementKind::Label, inGroup, 1),
    element(ElementKind::Label, title, 20),
    element(ElementKind::Label, tipped, 21),
    element(ElementKind::Line, line, 19),
    element(ElementKind::CellFrame, cell, 4, -1, flags::border),
    element(ElementKind::CellFrame, hiddenCell, 5, -1, flags::hidden),
    element(ElementKind::CheckBox, box, 3, 1, flags::checked),
    element(ElementKind::Label, {"label with tab index"}, 18, 2),
    element(ElementKind::Button, exitButton, 2, 0),
    element(ElementKind::GroupFrame, group, 6),
    element(ElementKind::Timer, clockTimer, -1),
};

const WindowDef &probeWindow()
{
    static const WindowDef window = [] {
        WindowDef def;
        def.name = "Probe";
        def.elements = elements;
        return def;
    }();
    return window;
}

std::string keysAt(const WindowModel &model, const std::vector<std::size_t> &positions)
{
    std::string text;
    for (const std::size_t at : positions)
        text += (text.empty() ? "" : " ") + describe(model.element(at).key);
    return text;
}

TEST(WindowModel, OpensInTheTableStateAndDropsWritesThatChangeNothing)
{
    WindowModel model(probeWindow());
    const std::size_t at = model.indexOf(cell), hidden = model.indexOf(hiddenCell);
    EXPECT_EQ(model.state(at).caption, "0");
    EXPECT_EQ(model.state(at).border, 1);
    EXPECT_FALSE(model.state(hidden).visible);
    EXPECT_EQ(model.state(model.indexOf(box)).value, 1);

    EXPECT_FALSE(model.setCaption(at, "0"));
    EXPECT_FALSE(model.setBorder(at, 1));
    EXPECT_TRUE(model.takeChanged().empty());
    EXPECT_TRUE(model.setCaption(at, "1"));
    EXPECT_TRUE(model.setBackColour(at, colours::blue));
    EXPECT_TRUE(model.setVisible(hidden, true));
    EXPECT_FALSE(model.setVisible(hidden, true));
    EXPECT_TRUE(model.setValue(hidden, 2));
    EXPECT_EQ(model.takeChanged(), (std::vector{at, hidden})) << "each changed element once";
    EXPECT_TRUE(model.takeChanged().empty());
    EXPECT_EQ(model.state(at).caption, "1");
    EXPECT_EQ(model.state(hidden).value, 2);
}

TEST(WindowModel, UnknownKeysAreReportedByName)
{
    const WindowModel model(probeWindow());
    EXPECT_FALSE(model.find({"cell", 2}));
    EXPECT_FALSE(model.find({"cell"}));
    try {
        (void)model.indexOf({"cell", 2});
        FAIL() << "no error";
    } catch (const UnknownElement &error) {
        EXPECT_STREQ(error.what(), "Tessaro: window Probe has no element cell(2)");
    }
}

// Containers come before what they contain; otherwise each element is
// created above all created before it. Focus follows the tab index among the
// kinds that take it; clicks pass through lines and labels without a tip.
TEST(WindowModel, CreationFocusTimersAndMouseFollowTheTable)
{
    const WindowModel model(probeWindow());
    std::vector<std::size_t> created(model.size());
    std::iota(created.begin(), created.end(), 0);
    EXPECT_EQ(keysAt(model, created), "tipped title line label with tab index group cell(1) "
                                      "cell(0) box exit timer inGroup");
    EXPECT_EQ(model.element(*model.containerOf(model.indexOf(inGroup))).key, group);
    EXPECT_FALSE(model.containerOf(model.indexOf(box)));
    EXPECT_EQ(keysAt(model, model.tabOrder()), "exit box");
    EXPECT_EQ(keysAt(model, model.timers()), "timer");
    std::string through;
    for (const ElementDef &def : elements)
        through += letsMouseThrough(def) ? describe(def.key) + " " : "";
    EXPECT_EQ(through, "inGroup title line cell(0) cell(1) label with tab index ");
}

// A window whose toolkit part records what reaches it.
class RecordingHost final : public WindowHost
{
public:
    void runLater(std::function<void()> task) override { tasks.push_back(std::move(task)); }
    void runTasks()
    {
        for (; !tasks.empty(); tasks.pop_front())
            tasks.front()();
    }
    std::deque<std::function<void()>> tasks;
};

class RecordingWindow final : public ModelWindow
{
public:
    RecordingWindow(WindowEvents &events, WindowHost &host, int &destroyed)
        : ModelWindow(probeWindow(), events, host), m_destroyed(destroyed)
    {
    }
    ~RecordingWindow() override { ++m_destroyed; }

    void setTitle(std::string_view) override {}
    void show() override {}
    void check(ElementKey key, int value) { valueChanged(model().indexOf(key), value); }
    void press(ElementKey button) { clicked(model().indexOf(button)); }

    std::vector<std::string> shown;
    int timersRunning = 0;
    bool closed = false;

protected:
    void showChange(std::size_t at, Change change) override
    {
        shown.push_back(describe(model().element(at).key) + ' ' +
                        std::to_string(static_cast<int>(change)));
    }
    void startTimer(std::size_t, int) override { ++timersRunning; }
    void stopTimers() override { timersRunning = 0; }
    void closeNativeWindow() override { closed = true; }
    void showAccessibleDescription() override { shown.push_back(model().accessibleDescription()); }

private:
    int &m_destroyed;
};

class Handlers final : public WindowEvents
{
public:
    void onLoad(Window &window) override { window.setCaption(title, "Uhr"); }
    void onClick(Window &window, ElementKey key) override
    {
        clicks.push_back(describe(key) + '=' + std::to_string(window.value(key)));
        if (key == exitButton)
            window.unload();
    }
    void onUnloaded() override { ++unloads; }
    std::vector<std::string> clicks;
    int unloads = 0;
};

TEST(ModelWindow, ShowsRealChangesRunsHandlersOnceAndDiesAfterItsHandler)
{
    RecordingHost host;
    Handlers handlers;
    int destroyed = 0;
    auto &window = static_cast<RecordingWindow &>(
        host.adopt(std::make_unique<RecordingWindow>(handlers, host, destroyed)));
    EXPECT_EQ(window.shown, (std::vector<std::string>{"title 0"})) << "load ran";
    EXPECT_EQ(window.timersRunning, 1);

    window.setCaption(title, "Uhr");
    window.setBorderStyle(title, 1);
    window.setBorderStyle(title, 1);
    window.setBackColor(cell, colours::blue);
    window.setVisible(hiddenCell, false);
    window.setAccessibleDescription({}, "12:34:56, 06.12.2026");
    window.setAccessibleDescription({}, "12:34:56, 06.12.2026");
    EXPECT_EQ(window.shown,
              (std::vector<std::string>{"title 0", "title 3", "cell(0) 1", "12:34:56, 06.12.2026"}))
        << "only real changes reach the toolkit";

    // However a box changes, its handler runs once per real change.
    window.check(box, 1);
    window.check(box, 0);
    window.check(box, 0);
    EXPECT_EQ(handlers.clicks, (std::vector<std::string>{"box=0"}));
    EXPECT_EQ(window.value(title), 0) << "only check boxes have a value";

    window.press(exitButton); // unloads from inside its handler
    EXPECT_TRUE(window.closed);
    EXPECT_EQ(window.timersRunning, 0);
    EXPECT_EQ(handlers.unloads, 1);
    EXPECT_EQ(destroyed, 0) << "still inside the handler";
    window.unload();
    EXPECT_EQ(handlers.unloads, 1) << "unloaded once";
    host.runTasks();
    EXPECT_EQ(destroyed, 1);
}

} // namespace
} // namespace tessaro
