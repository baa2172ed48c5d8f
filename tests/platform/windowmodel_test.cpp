// SPDX-License-Identifier: GPL-3.0-or-later
// The window model that every toolkit builds on: the element state and what
// reaches the toolkit, creation order, focus, timers, and a window unloaded
// from inside its own handler.
#include "accessibility.h"
#include "infotessaro_window.h"
#include "modelwindow.h"
#include "ruzozura_keys.h"
#include "ruzozura_window.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <tuple>

namespace tessaro
{
namespace
{

TEST(WindowModel, OpensInTheTableStateAndDropsWritesThatChangeNothing)
{
    WindowModel model(ruzozuraWindow());
    ASSERT_EQ(model.size(), 95u);
    const std::size_t cell = model.indexOf(ruzozura::bin1[0]);
    const std::size_t readout = model.indexOf(ruzozura::Stunde);
    EXPECT_EQ(model.state(cell).caption, "0");
    EXPECT_FALSE(model.state(readout).visible);
    EXPECT_EQ(model.state(model.indexOf(ruzozura::Check2)).value, 1);
    EXPECT_EQ(model.state(model.indexOf(ruzozura::Label14)).border, 1);

    EXPECT_FALSE(model.setCaption(cell, "0"));
    EXPECT_TRUE(model.takeChanged().empty());
    EXPECT_TRUE(model.setCaption(cell, "1"));
    EXPECT_TRUE(model.setBackColour(cell, colours::blue));
    EXPECT_TRUE(model.setVisible(readout, true));
    EXPECT_FALSE(model.setVisible(readout, true));
    EXPECT_EQ(model.takeChanged(), (std::vector{cell, readout})) << "each changed element once";
    EXPECT_TRUE(model.takeChanged().empty());
    EXPECT_EQ(model.state(cell).caption, "1");
}

TEST(WindowModel, UnknownKeysAreReportedByName)
{
    const WindowModel model(ruzozuraWindow());
    EXPECT_FALSE(model.find(ruzozura::bin1[5]));
    EXPECT_FALSE(model.find({ruzozura::bin1.name}));
    try {
        (void)model.indexOf(ruzozura::bin1[5]);
        FAIL() << "no error";
    } catch (const UnknownElement &error) {
        EXPECT_STREQ(error.what(), "Tessaro: window Ruzozura has no element bin1(5)");
    }
}

// Containers come before what they contain; otherwise each element is
// created above all created before it, child windows last.
TEST(WindowModel, CreatesBottomMostFirstAndContainersBeforeTheirContents)
{
    const WindowModel main(ruzozuraWindow());
    const auto position = [&](ElementKey key) { return main.indexOf(key); };
    EXPECT_LT(position(ruzozura::Label10), position(ruzozura::Line2)); // the line crosses it
    EXPECT_LT(position(ruzozura::Label16), position(ruzozura::Label9));
    EXPECT_LT(position(ruzozura::hex1[0]), position(ruzozura::hexa1[0]));
    EXPECT_LT(position(ruzozura::Line3[1]), position(ruzozura::Frame39)); // topmost label, a cell

    const WindowModel about(infotessaroWindow());
    const std::size_t notice = about.indexOf(infotessaro::Label1);
    ASSERT_TRUE(about.containerOf(notice));
    EXPECT_EQ(about.element(*about.containerOf(notice)).key, infotessaro::Frame1);
    EXPECT_LT(*about.containerOf(notice), notice);
    EXPECT_FALSE(about.containerOf(about.indexOf(infotessaro::cmdOK)));
}

TEST(WindowModel, FocusTimersAndMouseFollowTheKinds)
{
    const WindowModel model(ruzozuraWindow());
    std::string order, expected;
    for (const std::size_t at : model.tabOrder())
        order += describe(model.element(at).key) + ' ';
    using namespace ruzozura;
    for (ElementKey key :
         {Command1, Check1, Command2, Command3, Command4, Command5, Check2, Check3})
        expected += describe(key) + ' ';
    EXPECT_EQ(order, expected);
    ASSERT_EQ(model.timers().size(), 1u);
    EXPECT_EQ(model.element(model.timers()[0]).intervalMs, 100);

    const auto through = [&](ElementKey key) {
        return letsMouseThrough(model.element(model.indexOf(key)));
    };
    EXPECT_TRUE(through(ruzozura::Label18));  // no tooltip
    EXPECT_FALSE(through(ruzozura::Label17)); // its tooltip must show
    EXPECT_TRUE(through(ruzozura::Frame23));
    EXPECT_TRUE(through(ruzozura::Line1));
    EXPECT_FALSE(through(ruzozura::Command2));
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
    RecordingWindow(const WindowDef &def, WindowEvents &events, WindowHost &host, int &destroyed)
        : ModelWindow(def, events, host), m_destroyed(destroyed)
    {
    }
    ~RecordingWindow() override { ++m_destroyed; }

    void setTitle(std::string_view) override {}
    void show() override {}
    void check(ElementKey box, int value) { valueChanged(model().indexOf(box), value); }
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
    void onLoad(Window &window) override { window.setCaption(ruzozura::Label1, "Uhr"); }
    void onClick(Window &window, ElementKey key) override
    {
        clicks.push_back(describe(key) + '=' + std::to_string(window.value(key)));
        if (key == ruzozura::Command1)
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
        host.adopt(std::make_unique<RecordingWindow>(ruzozuraWindow(), handlers, host, destroyed)));
    EXPECT_EQ(window.shown, (std::vector{describe(ruzozura::Label1) + " 0"})) << "load ran";
    EXPECT_EQ(window.timersRunning, 1);

    window.setCaption(ruzozura::Label1, "Uhr");
    window.setBorderStyle(ruzozura::Label1, 0);
    window.setBorderStyle(ruzozura::Label1, 0);
    window.setAccessibleDescription({}, "12:34:56, 06.12.2026");
    window.setAccessibleDescription({}, "12:34:56, 06.12.2026");
    EXPECT_EQ(window.shown.back(), "12:34:56, 06.12.2026") << "the window's own description";
    EXPECT_EQ(window.shown.size(), 3u) << "only the border and the description changed";

    // However a box changes, its handler runs once per real change.
    window.check(ruzozura::Check1, 1);
    window.check(ruzozura::Check1, 1);
    window.check(ruzozura::Check1, 0);
    EXPECT_EQ(handlers.clicks,
              (std::vector{describe(ruzozura::Check1) + "=1", describe(ruzozura::Check1) + "=0"}));
    EXPECT_EQ(window.value(ruzozura::Label1), 0) << "only check boxes have a value";

    window.press(ruzozura::Command1); // unloads from inside its handler
    EXPECT_TRUE(window.closed);
    EXPECT_EQ(window.timersRunning, 0);
    EXPECT_EQ(handlers.unloads, 1);
    EXPECT_EQ(destroyed, 0) << "still inside the handler";
    window.unload();
    EXPECT_EQ(handlers.unloads, 1) << "unloaded once";
    host.runTasks();
    EXPECT_EQ(destroyed, 1);
}

// A small window: what each element reports to a screen reader, in reading
// order, before and after the writes a clock and its handlers make.
struct ReaderElement {
    ElementKind kind;
    ElementKey key;
    TwipRect rect;
    std::string_view caption, accessibleName, toolTip;
    std::uint16_t flags = 0;
    int tabIndex = -1;
    ElementKey parent = {};
};

constexpr ElementDef readerElement(const ReaderElement &e)
{
    ElementDef def;
    def.kind = e.kind;
    def.key = e.key;
    def.rect = e.rect;
    def.caption = e.caption;
    def.accessibleName = e.accessibleName;
    def.toolTip = e.toolTip;
    def.flags = e.flags;
    def.tabIndex = e.tabIndex;
    def.parent = e.parent;
    return def;
}

using K = ElementKind;
constexpr ElementDef readerElements[] = {
    readerElement({K::Label, {"Title"}, {0, 600, 90, 20}, "Stunden", {}, {}}),
    readerElement({K::Label, {"Blank"}, {0, 0, 9, 9}, "   ", {}, {}}),
    readerElement({K::Label, {"Heading"}, {0, 450, 9, 9}, "8 4 2 I", "8 4 2 1", {}}),
    readerElement({K::Line, {"Line1"}, {}, {}, {}, {}}),
    readerElement({K::Timer, {"Timer1"}, {}, {}, {}, {}}),
    readerElement({K::Button, {"Info"}, {0, 300, 90, 20}, "&Info ", {}, {}, 0, 0}),
    readerElement({K::CheckBox,
                   {"Check1"},
                   {0, 0, 9, 9},
                   {},
                   "Anzeige ein/aus ",
                   "Schaltet  um",
                   flags::checked,
                   1}),
    readerElement({K::Label, {"Cell", 0}, {200, 600, 9, 9}, "0", "Stunden, Wert 1", {}}),
    readerElement(
        {K::Label, {"Readout"}, {300, 600, 9, 9}, "14", "Stunden dezimal", {}, flags::hidden}),
    readerElement({K::GroupFrame, {"Frame1"}, {0, 900, 90, 90}, {}, {}, {}, flags::hidden}),
    readerElement({K::PictureBox, {"Pic"}, {0, 0, 9, 9}, {}, {}, {}, 0, 2, {"Frame1"}}),
};
constexpr WindowDef readerWindow = [] {
    WindowDef def;
    def.name = "Probe";
    def.elements = readerElements;
    return def;
}();

TEST(AccessibleWindow, ReportsEveryReadElementInReadingOrder)
{
    using R = AccessibleRole;
    struct Expected {
        std::string_view key, name, value, description;
        R role;
        bool checked, focusable, invisible;
    };
    WindowModel model(readerWindow);
    const AccessibleWindow accessible(model);
    const auto expectAll = [&](std::initializer_list<Expected> rows) {
        ASSERT_EQ(accessible.childCount(), rows.size());
        std::size_t child = 0;
        for (const Expected &e : rows) {
            const AccessibleNode node = accessible.child(child);
            EXPECT_EQ(model.element(accessible.element(child)).key.name, e.key) << child;
            EXPECT_EQ(std::tuple(node.name, node.value, node.description, node.role),
                      std::tuple(std::string(e.name), std::string(e.value),
                                 std::string(e.description), e.role))
                << e.key;
            EXPECT_EQ(std::tuple(node.checked, node.focusable, node.invisible),
                      std::tuple(e.checked, e.focusable, e.invisible))
                << e.key;
            EXPECT_EQ(accessible.childOf(accessible.element(child)), child);
            ++child;
        }
    };
    expectAll({{"Check1", "Anzeige ein/aus", "", "Schaltet um", R::CheckBox, true, true, false},
               {"Info", "Info", "", "", R::PushButton, false, true, false},
               {"Heading", "8 4 2 1", "", "", R::StaticText, false, false, false},
               {"Title", "Stunden", "", "", R::StaticText, false, false, false},
               {"Cell", "Stunden, Wert 1", "0", "", R::StaticText, false, false, false},
               {"Readout", "Stunden dezimal", "14", "", R::StaticText, false, false, true},
               {"Frame1", "", "", "", R::Grouping, false, false, true},
               {"Pic", "", "", "", R::Graphic, false, true, true}});
    EXPECT_FALSE(accessible.childOf(model.indexOf({"Line1"})));
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
    expectAll({{"Check1", "Anzeige ein/aus", "", "Schaltet um", R::CheckBox, false, true, false},
               {"Info", "Hilfe", "", "", R::PushButton, false, true, false},
               {"Heading", "8 4 2 1", "", "", R::StaticText, false, false, false},
               {"Title", "Stunden: 14", "14", "", R::StaticText, false, false, false},
               {"Cell", "Stunden, Wert 1", "1", "", R::StaticText, false, false, false},
               {"Readout", "Stunden dezimal: 15", "15", "", R::StaticText, false, false, false},
               {"Frame1", "", "", "", R::Grouping, false, false, false},
               {"Pic", "", "", "", R::Graphic, false, true, false}});
    EXPECT_EQ(accessible.defaultAction(0), "Aktivieren");
    EXPECT_EQ(accessible.window(" Info zu  Tessaro ").name, "Info zu Tessaro");
    EXPECT_EQ(accessible.window("").role, R::Frame);
}

} // namespace
} // namespace tessaro
