// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Test doubles for the clock and the main window's handlers: a window that
// records every write and knows only the elements of a real window table, a
// clock that plays back readings, and a toolkit that counts its calls.

#include "localclock.h"
#include "toolkit.h"
#include "windowdef.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace tessaro::testing
{

struct Key {
    std::string name;
    int index = -1;

    Key(std::string n, int i = -1) : name(std::move(n)), index(i) {}
    Key(const char *n, int i = -1) : name(n), index(i) {}
    Key(ElementKey k) : name(k.name), index(k.index) {}
    friend auto operator<=>(const Key &, const Key &) = default;
    friend std::ostream &operator<<(std::ostream &out, const Key &key)
    {
        out << key.name;
        if (key.index >= 0)
            out << '(' << key.index << ')';
        return out;
    }
};

enum class Property { Caption, BackColor, Visible, BorderStyle, AccessibleName };

struct Write {
    Property property;
    Key key;
    std::string text;      // Caption, AccessibleName
    std::int64_t number{}; // BackColor, Visible (0/1), BorderStyle

    friend bool operator==(const Write &, const Write &) = default;
    friend std::ostream &operator<<(std::ostream &out, const Write &w)
    {
        static constexpr const char *names[] = {"Caption", "BackColor", "Visible", "BorderStyle",
                                                "AccessibleName"};
        out << w.key << '.' << names[int(w.property)] << " = ";
        if (w.property == Property::Caption || w.property == Property::AccessibleName)
            return out << '"' << w.text << '"';
        return out << w.number;
    }
};

inline Write caption(Key key, std::string text)
{
    return {Property::Caption, std::move(key), std::move(text)};
}
inline Write visible(Key key, bool shown)
{
    return {Property::Visible, std::move(key), {}, shown ? 1 : 0};
}
inline Write borderStyle(Key key, int style)
{
    return {Property::BorderStyle, std::move(key), {}, style};
}

// A window that records every write and fails the test on a key its table
// does not hold, so a misspelt element name cannot pass unnoticed.
class RecordingWindow final : public Window
{
public:
    explicit RecordingWindow(std::span<const ElementDef> table) : m_table(table) {}

    void setCaption(ElementKey key, std::string_view text) override
    {
        record({Property::Caption, checked(key), std::string(text)});
    }
    void setBackColor(ElementKey key, Colour colour) override
    {
        record({Property::BackColor, checked(key), {}, colour});
    }
    void setVisible(ElementKey key, bool shown) override
    {
        record({Property::Visible, checked(key), {}, shown ? 1 : 0});
    }
    void setBorderStyle(ElementKey key, int style) override
    {
        record({Property::BorderStyle, checked(key), {}, style});
    }
    void setAccessibleName(ElementKey key, std::string_view name) override
    {
        record({Property::AccessibleName, checked(key), std::string(name)});
    }
    [[nodiscard]] int value(ElementKey key) const override
    {
        const auto found = m_values.find(checked(key));
        return found == m_values.end() ? 0 : found->second;
    }
    void setTitle(std::string_view) override {}
    void show() override {}
    void unload() override {}

    // What a user clicking a check box leaves behind.
    void setValue(Key key, int boxValue) { m_values[key] = boxValue; }

    // The last value written, if any, whether or not the log was cleared since.
    [[nodiscard]] std::optional<std::string> captionOf(const Key &key) const
    {
        return lastText(Property::Caption, key);
    }
    [[nodiscard]] std::optional<std::string> accessibleNameOf(const Key &key) const
    {
        return lastText(Property::AccessibleName, key);
    }
    [[nodiscard]] std::optional<Colour> backColorOf(const Key &key) const
    {
        const auto n = lastNumber(Property::BackColor, key);
        return n ? std::optional<Colour>(Colour(*n)) : std::nullopt;
    }
    [[nodiscard]] std::optional<bool> visibleOf(const Key &key) const
    {
        const auto n = lastNumber(Property::Visible, key);
        return n ? std::optional<bool>(*n != 0) : std::nullopt;
    }
    [[nodiscard]] const std::vector<Write> &writes() const { return m_writes; }
    [[nodiscard]] std::vector<Write> writesOf(Property property) const
    {
        std::vector<Write> found;
        std::copy_if(m_writes.begin(), m_writes.end(), std::back_inserter(found),
                     [&](const Write &w) { return w.property == property; });
        return found;
    }
    // Index of the first write to key in the log, or -1.
    [[nodiscard]] long firstWriteTo(const Key &key) const
    {
        const auto it = std::find_if(m_writes.begin(), m_writes.end(),
                                     [&](const Write &w) { return w.key == key; });
        return it == m_writes.end() ? -1 : long(it - m_writes.begin());
    }
    // Empties the log; the elements keep what was written to them.
    void clearLog() { m_writes.clear(); }

private:
    Key checked(ElementKey key) const
    {
        const bool known = std::any_of(m_table.begin(), m_table.end(),
                                       [&](const ElementDef &def) { return def.key == key; });
        if (!known)
            ADD_FAILURE() << "write to an element the window does not have: " << Key(key);
        return Key(key);
    }
    void record(Write write)
    {
        m_state.insert_or_assign({write.property, write.key}, write);
        m_writes.push_back(std::move(write));
    }

    std::optional<std::string> lastText(Property property, const Key &key) const
    {
        const auto found = m_state.find({property, key});
        return found == m_state.end() ? std::nullopt : std::optional(found->second.text);
    }
    std::optional<std::int64_t> lastNumber(Property property, const Key &key) const
    {
        const auto found = m_state.find({property, key});
        return found == m_state.end() ? std::nullopt : std::optional(found->second.number);
    }

    std::span<const ElementDef> m_table;
    std::vector<Write> m_writes;                       // the log, emptied by clearLog()
    std::map<std::pair<Property, Key>, Write> m_state; // the last write per property
    std::map<Key, int> m_values;
};

// Plays back queued readings, then repeats the last one; counts readings.
class PlaybackClock final : public LocalClock
{
public:
    explicit PlaybackClock(LocalDateTime first = {}) : m_current(first) {}

    LocalDateTime now() override
    {
        ++m_readings;
        if (!m_queued.empty()) {
            m_current = m_queued.front();
            m_queued.pop_front();
        }
        return m_current;
    }
    void set(LocalDateTime reading)
    {
        m_queued.clear();
        m_current = reading;
    }
    void queue(LocalDateTime reading) { m_queued.push_back(reading); }
    [[nodiscard]] int readings() const { return m_readings; }

private:
    LocalDateTime m_current;
    std::deque<LocalDateTime> m_queued;
    int m_readings = 0;
};

inline LocalDateTime at(int day, int month, int year, int hour = 0, int minute = 0, int second = 0)
{
    return {std::int16_t(day),  std::int16_t(month),  std::int16_t(year),
            std::int16_t(hour), std::int16_t(minute), std::int16_t(second)};
}

} // namespace tessaro::testing
