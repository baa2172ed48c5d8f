// SPDX-License-Identifier: GPL-3.0-or-later
// The window model under every toolkit, on small windows of the test's own.
#include "accessibility.h"
#include "modelwindow.h"

#include <gmock/gmock.h>

#include <deque>
#include <numeric>
#include <tuple>

namespace tessaro
{
namespace
{

constexpr ElementKey title{"title"}, tipped{"tipped"}, line{"line"}, cell{"cell", 0},
    hiddenCell{"cell", 1}, box{"box"}, exitButton{"exit"}, group{"group"}, inGroup{"inGroup"},
    clockTimer{"timer"};

using K = ElementKind;

// Listed in no useful order: the model brings it into one.
constexpr ElementDef elements[] = {
    {.key = inGroup, .stackRank = 1, .parent = group},
    {.key = title, .caption = "0", .stackRank = 20},
    {.key = tipped, .toolTip = "a tip", .stackRank = 21},
    {.kind = K::Line, .key = line, .stackRank = 19},
    {.kind = K::CellFrame, .key = cell, .caption = "0", .flags = flags::border, .stackRank = 4},
    {.kind = K::CellFrame, .key = hiddenCell, .flags = flags::hidden, .stackRank = 5},
    {.kind = K::CheckBox, .key = box, .flags = flags::checked, .stackRank = 3, .tabIndex = 1},
    {.key = {"label with tab index"}, .stackRank = 18, .tabIndex = 2},
    {.kind = K::Button, .key = exitButton, .stackRank = 2, .tabIndex = 0},
    {.kind = K::GroupFrame, .key = group, .stackRank = 6},
    {.kind = K::Timer, .key = clockTimer, .intervalMs = 100},
};
constexpr WindowDef probeWindow{.name = "Probe", .elements = elements};

std::string keysAt(const WindowModel &model, const std::vector<std::size_t> &positions)
{
    std::string text;
    for (const std::size_t at : positions)
        text.append(text.empty() ? "" : " ").append(describe(model.element(at).key));
    return text;
}

// Containers come before what they contain; otherwise each element is created above all
// created before it. Clicks pass through lines and labels without a tip. An unknown key is
// reported by its name. (The window tests follow the focus through the tab order.)
TEST(WindowModel, CreationTimersMouseAndUnknownKeysFollowTheTable)
{
    const WindowModel model(probeWindow);
    std::vector<std::size_t> created(model.size());
    std::iota(created.begin(), created.end(), 0);
    EXPECT_EQ(keysAt(model, created), "tipped title line label with tab index group cell(1) "
                                      "cell(0) box exit timer inGroup");
    EXPECT_EQ(keysAt(model, model.timers()), "timer");
    std::string through;
    for (const ElementDef &def : elements)
        through += letsMouseThrough(def) ? describe(def.key) + " " : "";
    EXPECT_EQ(through, "inGroup title line cell(0) cell(1) label with tab index ");
    EXPECT_FALSE(model.find({"cell"}));
    const auto unknownKey = [&] { (void)model.indexOf({"cell", 2}); };
    EXPECT_THAT(unknownKey, ::testing::ThrowsMessage<UnknownElement>(
                                ::testing::StrEq("Tessaro: window Probe has no element cell(2)")));
}

struct RecordingHost final : WindowHost {
    void runLater(std::function<void()> task) override { tasks.push_back(std::move(task)); }
    std::deque<std::function<void()>> tasks;
};

// A window whose toolkit part records what reaches it.
struct RecordingWindow final : ModelWindow {
    RecordingWindow(WindowEvents &events, WindowHost &host) : ModelWindow(probeWindow, events, host)
    {
    }
    ~RecordingWindow() override { ++destroyed; }

    void setTitle(std::string_view) override {}
    void show() override {}
    void check(ElementKey key, int value) { valueChanged(model().indexOf(key), value); }
    void press(ElementKey button) { clicked(model().indexOf(button)); }

    std::vector<std::string> shown;
    int timersRunning = 0;
    bool closed = false;
    static inline int destroyed = 0;

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
};

struct Handlers final : WindowEvents {
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
    auto &window = static_cast<RecordingWindow &>(
        host.adopt(std::make_unique<RecordingWindow>(handlers, host)));
    EXPECT_EQ(window.shown, (std::vector<std::string>{"title 0"})) << "load ran";
    EXPECT_EQ(window.timersRunning, 1);

    window.setCaption(title, "Uhr");
    window.setBorderStyle(title, 1);
    window.setBorderStyle(cell, 1); // bordered from the start
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
    EXPECT_EQ(RecordingWindow::destroyed, 0) << "still inside the handler";
    window.unload();
    EXPECT_EQ(handlers.unloads, 1) << "unloaded once";
    for (; !host.tasks.empty(); host.tasks.pop_front())
        host.tasks.front()();
    EXPECT_EQ(RecordingWindow::destroyed, 1);
}

// A small window for a screen reader: it reads from the top, then the left.
constexpr ElementDef readerElements[] = {
    {.key = {"Title"}, .rect = {0, 600}, .caption = "Stunden"},
    {.key = {"Blank"}, .caption = "   "},
    {.key = {"Heading"}, .rect = {0, 450}, .caption = "8 4 2 I", .accessibleName = "8 4 2 1"},
    {.kind = K::Line, .key = {"Line1"}},
    {.kind = K::Timer, .key = {"Timer1"}},
    {.kind = K::Button, .key = {"Info"}, .rect = {0, 300}, .caption = "&Info ", .tabIndex = 0},
    {.kind = K::CheckBox,
     .key = {"Check1"},
     .flags = flags::checked,
     .toolTip = "Schaltet  um",
     .tabIndex = 1,
     .accessibleName = "Anzeige ein/aus "},
    {.key = {"Cell", 0}, .rect = {200, 600}, .caption = "0", .accessibleName = "Stunden, Wert 1"},
    {.key = {"Readout"},
     .rect = {300, 600},
     .caption = "14",
     .flags = flags::hidden,
     .accessibleName = "Stunden dezimal"},
    {.kind = K::GroupFrame, .key = {"Frame1"}, .rect = {0, 900}, .flags = flags::hidden},
    {.kind = K::PictureBox, .key = {"Pic"}, .tabIndex = 2, .parent = {"Frame1"}},
};
constexpr WindowDef readerWindow{.name = "Probe", .elements = readerElements};

// Each child in reading order as "key|name|value|description|role states".
std::vector<std::string> read(const WindowModel &model, const AccessibleWindow &accessible)
{
    constexpr const char *roles[] = {"Frame",      "Dialog",  "StaticText", "CheckBox",
                                     "PushButton", "Graphic", "Grouping"};
    std::vector<std::string> children;
    for (std::size_t child = 0; child < accessible.childCount(); ++child) {
        const AccessibleNode n = accessible.child(child);
        EXPECT_EQ(accessible.childOf(accessible.element(child)), child);
        children.push_back(std::string(model.element(accessible.element(child)).key.name) + '|' +
                           n.name + '|' + n.value + '|' + n.description + '|' + roles[int(n.role)] +
                           (n.checked ? " checked" : "") + (n.focusable ? " focusable" : "") +
                           (n.invisible ? " invisible" : ""));
    }
    return children;
}

TEST(AccessibleWindow, ReportsEveryReadElementInReadingOrder)
{
    WindowModel model(readerWindow);
    const AccessibleWindow accessible(model);
    EXPECT_EQ(read(model, accessible),
              (std::vector<std::string>{
                  "Check1|Anzeige ein/aus||Schaltet um|CheckBox checked focusable",
                  "Info|Info|||PushButton focusable", "Heading|8 4 2 1|||StaticText",
                  "Title|Stunden|||StaticText", "Cell|Stunden, Wert 1|0||StaticText",
                  "Readout|Stunden dezimal|14||StaticText invisible",
                  "Frame1||||Grouping invisible", "Pic||||Graphic focusable invisible"}));
    EXPECT_EQ(accessible.defaultAction(0), "Deaktivieren");
    EXPECT_EQ(accessible.defaultAction(1), "Drücken");
    EXPECT_EQ(accessible.defaultAction(2), "");

    // What each write tells a listening reader.
    const auto at = [&](std::string_view name, int index = -1) {
        return model.indexOf({name, index});
    };
    using E = AccessibleEvent;
    const std::tuple<std::size_t, Change, std::function<void()>, E> writes[] = {
        {at("Title"), Change::AccessibleName,
         [&] { model.setAccessibleName(at("Title"), "Stunden: 14"); }, E::NameChange},
        {at("Cell", 0), Change::Caption, [&] { model.setCaption(at("Cell", 0), "1"); },
         E::ValueChange},
        {at("Readout"), Change::Caption, [&] { model.setCaption(at("Readout"), "15"); }, E::None},
        {at("Readout"), Change::Visible, [&] { model.setVisible(at("Readout"), true); }, E::Show},
        {at("Readout"), Change::AccessibleName,
         [&] { model.setAccessibleName(at("Readout"), "Stunden dezimal: 15"); }, E::NameChange},
        {at("Readout"), Change::Caption, [&] { model.setCaption(at("Readout"), "16"); }, E::None},
        {at("Check1"), Change::Value, [&] { model.setValue(at("Check1"), 0); }, E::StateChange},
        {at("Frame1"), Change::Visible, [&] { model.setVisible(at("Frame1"), true); }, E::Show},
        {at("Info"), Change::Caption, [&] { model.setCaption(at("Info"), "Hilfe"); },
         E::NameChange},
        {at("Line1"), Change::Visible, [&] { model.setVisible(at("Line1"), false); }, E::None},
    };
    for (const auto &[element, change, write, event] : writes) {
        write();
        EXPECT_EQ(accessible.eventFor(element, change), event) << element;
    }
    EXPECT_EQ(read(model, accessible),
              (std::vector<std::string>{
                  "Check1|Anzeige ein/aus||Schaltet um|CheckBox focusable",
                  "Info|Hilfe|||PushButton focusable", "Heading|8 4 2 1|||StaticText",
                  "Title|Stunden: 14|14||StaticText", "Cell|Stunden, Wert 1|1||StaticText",
                  "Readout|Stunden dezimal: 15|15||StaticText", "Frame1||||Grouping",
                  "Pic||||Graphic focusable"}));
    EXPECT_EQ(accessible.defaultAction(0), "Aktivieren");
    model.setVisible(at("Frame1"), false);
    EXPECT_EQ(accessible.eventFor(at("Frame1"), Change::Visible), E::Hide);
    EXPECT_EQ(accessible.window(" Info zu  Tessaro ").name, "Info zu Tessaro");
    EXPECT_EQ(accessible.window("").role, AccessibleRole::Frame);
}

} // namespace
} // namespace tessaro
